#include "page_bitmaps.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "forms/app.h"
#include "forms/errors.h"
#include "forms/list_messages.h"
#include "forms/numeric.h"
#include "frm_about.h"
#include "mem_dc.h"
#include "openfile.h"
#include "win/window.h"

namespace ornatek {

namespace {

constexpr std::uint32_t kDefaultMask = 0xFF00FF;

// Keeps the page's own filling of its controls from counting as an edit,
// and ends that state however the filling ends.
class Refreshing {
 public:
  explicit Refreshing(bool& flag) : flag_(flag), before_(flag) { flag_ = true; }
  ~Refreshing() { flag_ = before_; }
  Refreshing(const Refreshing&) = delete;
  Refreshing& operator=(const Refreshing&) = delete;

 private:
  bool& flag_;
  bool before_;
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string FirstWord(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  std::size_t end = start;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return std::string(text.substr(start, end - start));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// ---- texts ---------------------------------------------------------------

std::string MenuListLine(bool hasEntry, std::string_view caption, std::string_view menuKey) {
  std::string line = hasEntry ? "*" : "";
  line += '\t';
  for (char c : caption) {
    if (c == '\t')
      line += "\\t";
    else
      line += c;
  }
  line += '\t';
  line += menuKey;
  return line;
}

std::string ListLineField(std::string_view line, int field) {
  for (int i = 0; i < field; ++i) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    line.remove_prefix(tab + 1);
  }
  return std::string(line.substr(0, line.find('\t')));
}

std::string MaskColorText(std::uint32_t colour) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(colour));
  return std::string("#") + digits;
}

std::optional<std::uint32_t> MaskColorFromText(std::string_view text) {
  if (text.empty()) return 0;
  text.remove_prefix(1);
  std::uint64_t value = 0;
  for (char c : text) {
    if (c == ' ') continue;
    const int digit = HexDigit(c);
    if (digit < 0) break;
    value = value * 16 + static_cast<unsigned>(digit);
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<std::uint32_t>(value);
}

int LeadingNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // from_chars would also take "inf" and "nan"; a number starts with a digit
  // or a point.
  if (text.empty() ||
      !(std::isdigit(static_cast<unsigned char>(text.front())) || text.front() == '.'))
    return 0;
  double value = 0;
  const auto [end, ec] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (ec != std::errc()) return 0;
  try {
    return forms::CLng(negative ? -value : value);
  } catch (const forms::RuntimeError&) {
    // Beyond a Long the text counts as no number, as other text does.
    return 0;
  }
}

float PannedEdge(float edge, float boxSize, float imageSize) {
  if (imageSize < boxSize) return static_cast<float>(forms::CLng(boxSize - imageSize) / 2);
  if (edge < boxSize - imageSize) edge = boxSize - imageSize;
  if (edge > 0) edge = 0;
  return edge;
}

std::optional<std::uint32_t> LowerLeftPixel(const forms::Picture& picture) {
  if (!picture) return std::nullopt;
  if (picture.Type() == forms::Picture::Kind::None) return std::nullopt;
  cMemDC surface;
  surface.PaintPicture(picture, 0, 0, 0, 0, 0, 0, win::SRCCOPY);
  if (!surface.IsCreated() || surface.Height() < 1) return std::nullopt;
  const win::COLORREF pixel = surface.GetPixel(0, surface.Height() - 1);
  if (pixel == win::CLR_INVALID) return std::nullopt;
  return pixel;
}

// ---- the page ----------------------------------------------------------------

std::unique_ptr<com::PropertyPage> MakeBitmapsPage() {
  return std::make_unique<pagBitmaps>();
}

pagBitmaps::pagBitmaps()
    : PropertyPage(":/forms/ornatek/pagBitmaps.json"),
      labMenu(Get<forms::Label>("labMenu")),
      lstMenus(Get<forms::ListBox>("lstMenus")),
      labNum(Get<forms::Label>("labNum")),
      fraControls(Get<forms::Frame>("fraControls")),
      Label4(Get<forms::Label>("Label4")),
      cobMenus(Get<forms::ComboBox>("cobMenus")),
      Label3(Get<forms::Label>("Label3")),
      cobMaskColor(Get<forms::ComboBox>("cobMaskColor")),
      Label2(Get<forms::Label>("Label2")),
      picBmp(Get<forms::PictureBox>("picBmp")),
      imgBmp(Get<forms::Image>("imgBmp")),
      cmdOpen(Get<forms::CommandButton>("cmdOpen")),
      fraCommon(Get<forms::Frame>("fraCommon")),
      chkUseSystemFont(Get<forms::CheckBox>("chkUseSystemFont")),
      Label5(Get<forms::Label>("Label5")),
      cobSize(Get<forms::ComboBox>("cobSize")),
      Label6(Get<forms::Label>("Label6")),
      chkDisabled(Get<forms::CheckBox>("chkDisabled")),
      cmdAdd(Get<forms::CommandButton>("cmdAdd")),
      cmdRemove(Get<forms::CommandButton>("cmdRemove")),
      cmdClear(Get<forms::CommandButton>("cmdClear")),
      cmdAbout(Get<forms::CommandButton>("cmdAbout")) {
  cobMaskColor.AddItem("#FF00FF - 洋红");
  cobMaskColor.AddItem("#C0C0C0 - 灰色");
  for (const char* size : {"16", "20", "24", "28", "32"}) cobSize.AddItem(size);
  int stops[2] = {10, 120};
  win::SendMessageA(lstMenus.hWnd(), forms::LB_SETTABSTOPS, 2,
                    reinterpret_cast<win::LPARAM>(stops));

  lstMenus.Click = [this] { lstMenus_Click(); };
  cmdAdd.Click = [this] { cmdAdd_Click(); };
  cmdRemove.Click = [this] { cmdRemove_Click(); };
  cmdClear.Click = [this] { cmdClear_Click(); };
  cmdOpen.Click = [this] { cmdOpen_Click(); };
  cmdAbout.Click = [this] { cmdAbout_Click(); };
  for (forms::ComboBox* combo : {&cobMaskColor, &cobMenus, &cobSize}) {
    combo->Change = [this] { Edited(); };
    combo->Click = [this] { Edited(); };
  }
  chkDisabled.Click = [this] { Edited(); };
  chkUseSystemFont.Click = [this] { Edited(); };
  imgBmp.MouseDown = [this](int& b, int& s, float& x, float& y) { imgBmp_MouseDown(b, s, x, y); };
  imgBmp.MouseMove = [this](int& b, int& s, float& x, float& y) { imgBmp_MouseMove(b, s, x, y); };
  imgBmp.MouseUp = [this](int& b, int& s, float& x, float& y) { imgBmp_MouseUp(b, s, x, y); };
  fraControls.Visible(false);
  labNum.Caption("0 icon(s)");
}

void pagBitmaps::Modified(bool on) {
  modified_ = on;
  Changed(Changed() || on);
}

void pagBitmaps::Edited() {
  if (!refreshing_) Modified(true);
}

void pagBitmaps::PropertyPage_SelectionChanged() {
  forms::Control* first = SelectedControls().empty() ? nullptr : SelectedControls().front();
  if (first && first == hostControl_) return;
  currentEntry_ = 0;
  hostControl_ = first;
  host_ = dynamic_cast<MenuIconHost*>(first);
  working_ = host_ ? host_->GetBitmapList() : BitmapList();
  RefreshLists();
  lstMenus_Click();
}

void pagBitmaps::PropertyPage_ApplyChanges() {
  CommitCurrentIcon();
  if (!host_) return;
  host_->SetBitmapList(working_);
  working_ = host_->GetBitmapList();
  RefreshLists();
  lstMenus_Click();
}

void pagBitmaps::RefreshLists() {
  {
    Refreshing guard(refreshing_);
    const int index = lstMenus.ListIndex();
    const int top = lstMenus.TopIndex();
    lstMenus.Clear();
    cobMenus.Clear();
    const std::vector<forms::Menu*> menus =
        host_ ? host_->GetMenuControls() : std::vector<forms::Menu*>();
    for (const forms::Menu* menu : menus) {
      const std::string key = MenuKey(*menu);
      const long position = working_.Find("#" + key);
      lstMenus.AddItem(MenuListLine(position > 0, menu->Caption(), key));
      lstMenus.ItemData(lstMenus.ListCount() - 1, static_cast<std::int32_t>(position));
    }
    lstMenus.ListIndex(index < lstMenus.ListCount() ? index : lstMenus.ListCount() - 1);
    if (top >= 0 && top < lstMenus.ListCount()) lstMenus.TopIndex(top);
    for (const forms::Menu* menu : menus)
      if (!menu->Caption().starts_with("-"))
        cobMenus.AddItem(MenuKey(*menu) + " (" + menu->Caption() + ")");
    if (host_) {
      chkDisabled.Value(host_->SelectDisabled() ? 1 : 0);
      chkUseSystemFont.Value(host_->UseSystemFont() ? 1 : 0);
      cobSize.Text(std::to_string(host_->BitmapSize()));
    }
  }
  labNum.Caption(std::to_string(working_.Count()) + " icon(s)");
}

std::string pagBitmaps::SelectedLineKey() const {
  const int index = lstMenus.ListIndex();
  return index < 0 ? std::string() : ListLineField(lstMenus.List(index), 2);
}

bool pagBitmaps::SelectedLineMarked() const {
  const int index = lstMenus.ListIndex();
  return index >= 0 && !ListLineField(lstMenus.List(index), 0).empty();
}

void pagBitmaps::lstMenus_Click() {
  if (refreshing_) return;
  CommitCurrentIcon();
  const int index = lstMenus.ListIndex();
  currentEntry_ = index >= 0 ? lstMenus.ItemData(index) : 0;
  if (currentEntry_ < 1 || currentEntry_ > working_.Count()) {
    fraControls.Visible(false);
    return;
  }
  Refreshing guard(refreshing_);
  fraControls.Visible(true);
  const BitmapEntry& entry = working_.Item(currentEntry_);
  cobMenus.Text(entry.Key.substr(1));
  imgBmp.Picture(forms::Picture());
  imgBmp.Picture(entry.Picture);
  CentrePreview();
  cobMaskColor.Text(MaskColorText(entry.MaskColor));
}

void pagBitmaps::CommitCurrentIcon() {
  if (modified_ && currentEntry_ > 0 && currentEntry_ <= working_.Count()) {
    try {
      const std::string key = "#" + FirstWord(cobMenus.Text());
      const long holder = working_.Find(key);
      BitmapEntry& entry = working_.Item(currentEntry_);
      if (holder != 0 && holder != currentEntry_) {
        // Two entries under one key cannot be: the list would have to drop
        // one of them. Both stay as they were, and the developer hears why,
        // in the page's own language.
        forms::MsgBox("菜单项 " + key.substr(1) + " 已经有图标，所以 " + entry.Key.substr(1) +
                          " 的图标保持不变。请先删除那个图标，或者选择一个没有图标的菜单项。",
                      forms::vbExclamation, Caption());
      } else {
        entry.Picture = imgBmp.Picture();
        if (const auto mask = MaskColorFromText(cobMaskColor.Text())) entry.MaskColor = *mask;
        entry.Key = key;
      }
    } catch (const forms::RuntimeError&) {
      // A value that cannot be read keeps what the entry had.
    }
  }
  if (host_) {
    host_->SelectDisabled(chkDisabled.Value() == 1);
    host_->UseSystemFont(chkUseSystemFont.Value() == 1);
    host_->BitmapSize(LeadingNumber(cobSize.Text()));
  }
  if (modified_) {
    RefreshLists();
    Modified(false);
  }
}

void pagBitmaps::cmdAdd_Click() {
  if (lstMenus.ListIndex() < 0 || SelectedLineMarked()) return;
  const std::string key = "#" + SelectedLineKey();
  CommitCurrentIcon();
  working_.Add(BitmapEntry{forms::Picture(), kDefaultMask, key});
  RefreshLists();
  lstMenus_Click();
  forms::DoEvents();
  Modified(true);
}

void pagBitmaps::cmdRemove_Click() {
  if (lstMenus.ListIndex() < 0) return;
  if (SelectedLineMarked()) working_.Remove(working_.Find("#" + SelectedLineKey()));
  RefreshLists();
  currentEntry_ = 0;
  lstMenus_Click();
  forms::DoEvents();
  Modified(true);
}

void pagBitmaps::cmdClear_Click() {
  working_.Clear();
  currentEntry_ = 0;
  RefreshLists();
  lstMenus_Click();
  forms::DoEvents();
  Modified(true);
}

void pagBitmaps::cmdOpen_Click() {
  try {
    imgBmp.Picture(forms::Picture());
    const std::string file = ShowOpenDialog(hWnd(), "*.*|*.*", "", "", "选择一个图片文件");
    const forms::Picture picture = forms::LoadPicture(file);
    imgBmp.Picture(picture);
    const auto pixel = LowerLeftPixel(picture);
    if (!pixel) return;
    cobMaskColor.Text(MaskColorText(*pixel));
    CentrePreview();
    if (!refreshing_) Modified(true);
  } catch (const std::exception&) {
    // A cancelled dialog or a file that is no picture leaves the preview
    // empty; the entry keeps its picture until the next commit.
  }
}

void pagBitmaps::cmdAbout_Click() {
  ShowAbout();
}

void pagBitmaps::CentrePreview() {
  const auto half = [](float free) { return static_cast<float>(forms::CLng(free) / 2); };
  imgBmp.Move(half(picBmp.ScaleWidth() - imgBmp.Width()),
              half(picBmp.ScaleHeight() - imgBmp.Height()));
  picBmp.Visible(false);
  picBmp.Visible(true);
}

void pagBitmaps::MoveImageBy(float dx, float dy) {
  imgBmp.Move(imgBmp.Left() + dx, imgBmp.Top() + dy);
}

void pagBitmaps::imgBmp_MouseDown(int /*Button*/, int /*Shift*/, float X, float Y) {
  dragging_ = true;
  pressX_ = X;
  pressY_ = Y;
}

void pagBitmaps::imgBmp_MouseMove(int /*Button*/, int /*Shift*/, float X, float Y) {
  if (dragging_) MoveImageBy(X - pressX_, Y - pressY_);
}

void pagBitmaps::imgBmp_MouseUp(int /*Button*/, int /*Shift*/, float X, float Y) {
  if (!dragging_) return;
  try {
    MoveImageBy(X - pressX_, Y - pressY_);
    imgBmp.Left(PannedEdge(imgBmp.Left(), picBmp.ScaleWidth(), imgBmp.Width()));
    imgBmp.Top(PannedEdge(imgBmp.Top(), picBmp.ScaleHeight(), imgBmp.Height()));
  } catch (const forms::RuntimeError&) {
    // The preview stays where the last move put it.
  }
  dragging_ = false;
}

}  // namespace ornatek
