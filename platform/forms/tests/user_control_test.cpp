// User controls: constituents, stored properties, ambient values, events.

#include <gtest/gtest.h>
#include <QColor>
#include <QImage>
#include <QWidget>

#include <QJsonDocument>
#include <QJsonObject>

#include "forms/forms.h"

using namespace forms;

namespace {

std::vector<std::string> g_log;

class Badge : public UserControl {
 public:
  explicit Badge(const ControlSite& site) : UserControl(site, ":/test/forms/Badge.json") {}
  std::string Caption() const { return Get<Label>("lbl").Caption(); }
  void Caption(std::string_view v) {
    Get<Label>("lbl").Caption(v);
    PropertyChanged("Caption");
  }
  int count = 0;
  Picture picture;
  forms::Font font;
  int resizes = 0;

 protected:
  void UserControl_Initialize() override { g_log.push_back(Name() + " initialize"); }
  void UserControl_InitProperties() override {
    g_log.push_back(Name() + " init");
    Caption(Ambient().DisplayName);
    font = Ambient().Font;
  }
  void UserControl_ReadProperties(PropertyBag& bag) override {
    g_log.push_back(Name() + " read");
    Caption(bag.ReadProperty("Caption", Ambient().DisplayName).ToString());
    count = bag.ReadProperty("Count", 0).ToLong();
    picture = bag.ReadProperty("Picture", Picture()).ToPicture();
    font = bag.ReadProperty("Font", Ambient().Font).ToFont();
  }
  void UserControl_WriteProperties(PropertyBag& bag) override {
    bag.WriteProperty("Caption", Caption(), Ambient().DisplayName);
    bag.WriteProperty("Count", count, 0);
    bag.WriteProperty("Picture", picture, Picture());
    bag.WriteProperty("Font", font, Ambient().Font);
  }
  void UserControl_Resize() override { ++resizes; }
  void UserControl_Terminate() override { g_log.push_back(Name() + " terminate"); }
};

class Host : public Form {
 public:
  Host() : Form(":/test/forms/Host.json") {}
};

struct Registration {
  Registration() { RegisterControlType<Badge>("Badge"); }
} g_registration;

}  // namespace

TEST(UserControl, NewInstancesInitialiseAndStoredOnesRead) {
  g_log.clear();
  Host host;
  host.Load();
  EXPECT_EQ(g_log, (std::vector<std::string>{"Badge1 initialize", "Badge1 init",
                                             "Badge2 initialize", "Badge2 read"}));
  auto& b1 = host.Get<Badge>("Badge1");
  auto& b2 = host.Get<Badge>("Badge2");
  EXPECT_EQ(b1.Caption(), "Badge1");  // the ambient display name
  EXPECT_EQ(b2.Caption(), "Stored");
  EXPECT_EQ(b2.count, 3);
  EXPECT_GE(b1.resizes, 1);
  EXPECT_EQ(b1.ChangedProperties(), (std::vector<std::string>{"Caption"}));
  EXPECT_EQ(b1.Width(), 1500);
  EXPECT_EQ(b1.Widget()->width(), 100);
  // Constituents live inside the control and measure in its scale.
  EXPECT_EQ(b1.Get<Label>("lbl").Widget()->parentWidget(), b1.Widget());
  EXPECT_EQ(b1.Get<Label>("lbl").Left(), 2);
}

TEST(UserControl, PropertyBagsRoundTripAndLeaveDefaultsOut) {
  Host host;
  host.Load();
  auto& b = host.Get<Badge>("Badge1");
  PropertyBag plain = b.SaveProperties();
  EXPECT_TRUE(plain.Names().empty());  // everything at its default

  QImage img(3, 2, QImage::Format_ARGB32);
  img.fill(QColor(10, 20, 30));
  b.picture = Picture::FromImage(img, Picture::Kind::Icon);
  b.count = 7;
  b.Caption("Renamed");
  b.font.Bold = true;
  PropertyBag bag = b.SaveProperties();
  EXPECT_EQ(bag.Names(), (std::vector<std::string>{"Caption", "Count", "Picture", "Font"}));

  // Through the description's own form and back.
  const QByteArray json = QJsonDocument(bag.ToJson()).toJson();
  PropertyBag back = PropertyBag::FromJson(QJsonDocument::fromJson(json).object());
  EXPECT_EQ(back.ReadProperty("Caption").ToString(), "Renamed");
  EXPECT_EQ(back.ReadProperty("Count").ToLong(), 7);
  const Picture p = back.ReadProperty("Picture").ToPicture();
  EXPECT_EQ(p.Type(), Picture::Kind::Icon);
  EXPECT_EQ(p.Image().pixelColor(1, 1), QColor(10, 20, 30));
  EXPECT_TRUE(back.ReadProperty("Font").ToFont().Bold);
  EXPECT_EQ(back.ReadProperty("Missing", 5).ToLong(), 5);
}

TEST(UserControl, ValuesConvertByTheRuntimesRules) {
  EXPECT_EQ(Value("12").ToLong(), 12);
  EXPECT_TRUE(Value("True").ToBool());
  EXPECT_EQ(Value(true).ToLong(), -1);
  EXPECT_EQ(Value(2.5).ToString(), "2.5");
  EXPECT_THROW(Value("twelve").ToLong(), RuntimeError);
  EXPECT_THROW(Value(3).ToPicture(), RuntimeError);
}

TEST(UserControl, TerminateRunsOnceWhenTheHostUnloadsOrEnds) {
  {
    Host host;
    host.Load();
    host.Get<Badge>("Badge1").SaveProperties();
    g_log.clear();
    Unload(host);
    EXPECT_EQ(g_log, (std::vector<std::string>{"Badge1 terminate", "Badge2 terminate"}));
  }
  EXPECT_EQ(g_log.size(), 2u) << "ending the unloaded form terminates nothing again";
  g_log.clear();
  {
    Host loaded;
    loaded.Load();
    g_log.clear();
  }
  EXPECT_EQ(g_log, (std::vector<std::string>{"Badge1 terminate", "Badge2 terminate"}));
  g_log.clear();
  { Host neverLoaded; }
  EXPECT_TRUE(g_log.empty()) << "a control that never initialised does not terminate";
}
