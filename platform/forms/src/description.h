#pragma once

// Form description files: JSON documents, embedded as resources, that list
// a form's or user control's properties and controls.
//
//   { "Form": "Form1",                       (or "UserControl": "xp_canvas")
//     "Properties": { "Caption": "...", "Width": 7110, ... },
//     "Controls": [
//       { "Type": "Label", "Name": "Label1", "Properties": { ... } },
//       { "Type": "Image", "Name": "Image2", "Index": 0, "Properties": { "Picture":
//       "pictures/dialogra/play.png" } }, { "Type": "PictureBox", "Name": "pictop", "Properties": {
//       ... }, "Controls": [ ... ] }, { "Type": "xp_canvas", "Name": "xp_canvas1", "Properties": {
//       ... }, "Bag": { "Caption": "..." } } ] }
//
// Pictures are named by resource path (":/" may be left out); fonts are
// objects {"Name", "Size", "Bold", "Italic", "Underline", "Strikethrough"};
// colours may be written "&H8000000F&" or "0x8000000F". A user control with
// a "Bag" (even an empty one) reads its stored properties; one without is a
// new instance and initialises them.

#include <QJsonArray>
#include <QJsonObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/control.h"
#include "forms/value.h"

namespace forms {

QJsonObject LoadDescription(std::string_view resource);
Value ValueFromJson(const std::string& property, const QJsonValue& json);
QJsonValue ValueToJson(const Value& v);
// The properties of a description object, in the order they are applied:
// scale and kind first, then the rest, AutoSize last.
std::vector<std::pair<std::string, Value>> PropertiesOf(const QJsonObject& object);

// Whether a description lists, at any depth, a control carried by a Qt
// widget of its own (a text, list or combo box, a button, a frame...).
bool ListsWidgetControls(const QJsonArray& controls);

// Makes the controls a description lists, in order, into `container`.
void MakeControls(const QJsonArray& controls, Container& container, Form& form,
                  std::vector<std::unique_ptr<Control>>& out);
// Ends controls made by MakeControls newest first: a control inside a
// container is made after it, so it goes while its container still stands.
void DestroyControls(std::vector<std::unique_ptr<Control>>& controls);

}  // namespace forms
