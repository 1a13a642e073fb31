#pragma once

// The word-database engine: databases, recordsets and fields in the manner
// of the engine the programs were written for, over SQLCipher files.

#include "dao/database.h"
#include "dao/database_opening.h"
#include "dao/error.h"
#include "dao/recordset.h"
#include "dao/sql_text.h"
