#include "forms/data_control.h"

#include <algorithm>

#include "base/ascii_case.h"
#include "forms/controls.h"
#include "forms/form.h"

namespace forms {

DataControl::DataControl(const ControlSite& site) : Control(site) {
  Visible(false);
}

DataControl::~DataControl() = default;

void DataControl::DatabaseName(std::string_view name) {
  databaseName_ = name;
  if (formLoaded_ && !recordset_.IsOpen()) OpenQuietly();
}

void DataControl::Connect(std::string_view connect) {
  connect_ = connect;
}

void DataControl::RecordSource(std::string_view source) {
  recordSource_ = source;
  // A control without a recordset opens as soon as it is bound; one that has
  // a recordset keeps it, and its place, until Refresh.
  if (formLoaded_ && !recordset_.IsOpen()) OpenQuietly();
}

void DataControl::Refresh() {
  moves_.Cancel();
  recordset_ = dao::Recordset();
  database_ = dao::Database();
  // The engine's connect strings name the engine first ("Access 2000;");
  // only the options after it reach the database.
  std::string options = connect_;
  if (auto semi = options.find(';'); semi != std::string::npos)
    options = options.substr(semi);
  else
    options.clear();
  database_ = std::exchange(ahead_, {}).Take(databaseName_, exclusive_, readOnly_, options);
  if (!database_.IsOpen())
    database_ = dao::OpenDatabase(databaseName_, exclusive_, readOnly_, options);
  recordset_ = database_.OpenRecordset(recordSource_);
  moves_ = recordset_.OnCurrentChanged([this] { ShowCurrent(); });
  if (!recordset_.Eof()) recordset_.MoveFirst();
  ShowCurrent();
}

void DataControl::OpenQuietly() {
  if (databaseName_.empty() || recordSource_.empty()) return;
  try {
    Refresh();
  } catch (const dao::Error& e) {
    recordset_ = dao::Recordset();
    database_ = dao::Database();
    int number = static_cast<int>(e.number()), response = 0;
    Error(number, response);
  }
}

void DataControl::AfterLoad() {
  formLoaded_ = true;
  OpenQuietly();
}

void DataControl::ShowCurrent() {
  // Bound labels show the current record's column, or nothing at the ends.
  for (Control* c : Parent().Controls()) {
    auto* label = dynamic_cast<Label*>(c);
    if (!label || !base::EqualsIgnoreAsciiCase(label->DataSource(), Name()) ||
        label->DataField().empty())
      continue;
    std::string text;
    try {
      if (recordset_.IsOpen() && !recordset_.Eof() && !recordset_.Bof())
        text = recordset_.Fields(label->DataField()).Value();
    } catch (const dao::Error&) {
      // A field the record lacks shows blank, as a label does past either end.
    }
    label->Caption(text);
  }
}

void DataControl::SetProperty(std::string_view name, const Value& v) {
  if (name == "DatabaseName")
    databaseName_ = v.ToString();
  else if (name == "Connect")
    connect_ = v.ToString();
  else if (name == "RecordSource")
    recordSource_ = v.ToString();
  else if (name == "ReadOnly")
    readOnly_ = v.ToBool();
  else if (name == "Exclusive")
    exclusive_ = v.ToBool();
  else if (name == "Caption" || name == "DefaultType" || name == "RecordsetType" ||
           name == "Options" || name == "BOFAction" || name == "EOFAction" ||
           name == "DefaultCursorType")
    ;  // the engine and looks of the original control; nothing here depends on them
  else
    Control::SetProperty(name, v);
}

}  // namespace forms
