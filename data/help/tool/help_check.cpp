// Checks at build time that the help names every menu item and button of the
// programs, so that a control added to a form is not left out of it.
//
//   help_check STAMP HELP.html FORM.json... [--also CAPTION...]
//
// Reads the captions of the menu items, command buttons, check boxes and
// option buttons of each form description, and the captions the programs
// set at run time (--also), and looks for each, as it is shown, in the text
// of the help. Names every caption it does not find and fails; otherwise
// writes STAMP.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QString>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

struct Caption {
  QString text;
  QString where;
};

// A caption as the user sees it: "&&" is an ampersand, a single "&" marks
// the access key.
QString Shown(const QString& caption) {
  QString out;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') {
        out += '&';
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out.simplified();
}

void Collect(const QJsonArray& controls, const QString& file, std::vector<Caption>& out) {
  for (const QJsonValue& v : controls) {
    const QJsonObject c = v.toObject();
    const QString type = c["Type"].toString();
    const QJsonArray children = c["Controls"].toArray();
    QString caption;
    if (type == "Menu") {
      // A menu that only holds the items is never shown itself.
      if (children.isEmpty()) caption = c["Properties"].toObject()["Caption"].toString();
    } else if (type == "CommandButton" || type == "CheckBox" || type == "OptionButton") {
      caption = c["Properties"].toObject()["Caption"].toString();
    } else if (type == "xpcmdbutton") {
      caption = c["Bag"].toObject()["Caption"].toString();
    }
    caption = Shown(caption);
    if (!caption.isEmpty() && caption != "-")
      out.push_back({caption, file + " (" + c["Name"].toString() + ")"});
    Collect(children, file, out);
  }
}

// The help's text as a reader sees it: tags left out, the entities it uses
// decoded, blanks folded.
QString PlainText(QString html) {
  html.remove(QRegularExpression("<!--.*?-->", QRegularExpression::DotMatchesEverythingOption));
  html.remove(QRegularExpression(
      "<(style|script)[^>]*>.*?</\\1>",
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption));
  html.replace(QRegularExpression("<[^>]*>"), " ");
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"},         {"&gt;", ">"},          {"&quot;", "\""},
      {"&#39;", "'"},        {"&nbsp;", " "},        {"&ndash;", "\u2013"},
      {"&mdash;", "\u2014"}, {"&hellip;", "\u2026"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : kEntities)
    html.replace(QString::fromUtf8(entity), QString::fromUtf8(character));
  return html.simplified();
}

QString ReadFile(const char* path, bool& ok) {
  QFile f(QString::fromLocal8Bit(path));
  ok = f.open(QIODevice::ReadOnly);
  return ok ? QString::fromUtf8(f.readAll()) : QString();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: help_check STAMP HELP.html FORM.json... [--also CAPTION...]\n");
    return 2;
  }
  bool ok = false;
  const QString html = ReadFile(argv[2], ok);
  if (!ok) {
    std::fprintf(stderr, "help_check: cannot read the help %s\n", argv[2]);
    return 1;
  }
  const QString text = PlainText(html);

  std::vector<Caption> captions;
  bool also = false;
  for (int i = 3; i < argc; ++i) {
    const QString arg = QString::fromUtf8(argv[i]);
    if (arg == "--also") {
      also = true;
    } else if (also) {
      captions.push_back({Shown(arg), "set by the program at run time"});
    } else {
      const QString json = ReadFile(argv[i], ok);
      QJsonParseError error{};
      const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8(), &error);
      if (!ok || error.error != QJsonParseError::NoError) {
        std::fprintf(stderr, "help_check: cannot read the form description %s\n", argv[i]);
        return 1;
      }
      Collect(doc.object()["Controls"].toArray(), arg, captions);
    }
  }

  int missing = 0;
  for (const Caption& c : captions) {
    if (text.contains(c.text)) continue;
    ++missing;
    std::fprintf(stderr, "%s: the help does not name \"%s\" of %s\n", argv[2],
                 c.text.toUtf8().constData(), c.where.toUtf8().constData());
  }
  if (missing) return 1;
  QFile stamp(QString::fromLocal8Bit(argv[1]));
  if (!stamp.open(QIODevice::WriteOnly)) return 1;
  stamp.write(QByteArray::number(static_cast<qlonglong>(captions.size())) + " captions named\n");
  return 0;
}
