#include "dao/error.h"

namespace dao {

namespace {

const char* Template(int number) {
  switch (number) {
    case err::kInvalidArgument:
      return "Invalid argument.";
    case err::kUpdateWithoutEdit:
      return "Update or CancelUpdate without AddNew or Edit.";
    case err::kNoCurrentRecord:
      return "No current record.";
    case err::kDuplicateKey:
      return "The changes you requested to the table were not successful because they would "
             "create duplicate values in the index, primary key, or relationship. Change the "
             "data in the field or fields that contain duplicate data, remove the index, or "
             "redefine the index to permit duplicate entries and try again.";
    case err::kFileNotFound:
      return "Could not find file '|'.";
    case err::kDiskFull:
      return "Not enough space on disk.";
    case err::kReadOnly:
      return "Cannot update. Database or object is read-only.";
    case err::kInvalidPassword:
      return "Not a valid password.";
    case err::kNoTransaction:
      return "You tried to commit or rollback a transaction without first beginning a "
             "transaction.";
    case err::kDiskError:
      return "Disk or network error.";
    case err::kInvalidPath:
      return "'|' is not a valid path. Make sure that the path name is spelled correctly and "
             "that you are connected to the server on which the file resides.";
    case err::kFileInUse:
      return "Could not use '|'; file already in use.";
    case err::kCorrupt:
      return "Cannot open database '|'. It may not be a database that your application "
             "recognizes, or the file may be corrupt.";
    case err::kNoPermission:
      return "The database engine cannot open the file '|'. It is already opened exclusively "
             "by another user, or you need permission to view its data.";
    case err::kExecuteSelect:
      return "Cannot execute a select query.";
    case err::kTooFewParameters:
      return "Too few parameters. Expected |.";
    case err::kSyntax:
      return "Syntax error (missing operator) in query expression '|'.";
    case err::kNoSuchTable:
      return "The database engine cannot find the input table or query '|'. Make sure it "
             "exists and that its name is spelled correctly.";
    case err::kTrailingCharacters:
      return "Characters found after end of SQL statement.";
    case err::kInvalidBookmark:
      return "Not a valid bookmark.";
    case err::kFieldNotUpdatable:
      return "Field cannot be updated.";
    case err::kRecordDeleted:
      return "Record is deleted.";
    case err::kDatabaseExists:
      return "Database already exists.";
    case err::kLocked:
      return "Could not update; currently locked.";
    case err::kInvalidOperation:
      return "Invalid operation.";
    case err::kItemNotFound:
      return "Item not found in this collection.";
    case err::kRequired:
      return "The field '|' cannot contain a Null value because the Required property for "
             "this field is set to True. Enter a value in this field.";
    case err::kNotADatabase:
      return "Unrecognized database format '|'.";
    case err::kHeldExclusively:
      return "You attempted to open a database that is already opened exclusively by another "
             "user. Try again when the database is available.";
    case err::kObjectClosed:
      return "Object invalid or no longer set.";
    default:
      return "Reserved error (|); there is no message for this error.";
  }
}

}  // namespace

std::string ErrorText(int number, const std::string& detail) {
  std::string text = Template(number);
  if (auto bar = text.find('|'); bar != std::string::npos) text.replace(bar, 1, detail);
  return text;
}

void Raise(int number, const std::string& detail) {
  throw Error(number, ErrorText(number, detail));
}

}  // namespace dao
