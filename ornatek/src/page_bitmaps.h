#pragma once

// The menu control's icon page: pick a menu item of the host form, give it an
// icon from a picture file and a mask colour, remove icons, and set the
// control's general options. The page edits a working copy of the control's
// icon list and hands it back on apply; the general options go to the
// control at once.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "com/property_page.h"
#include "forms/controls.h"
#include "menu_icon_list.h"

namespace ornatek {

// The page for the designer's page dialog.
std::unique_ptr<com::PropertyPage> MakeBitmapsPage();

class pagBitmaps : public com::PropertyPage {
 public:
  pagBitmaps();

  forms::Label& labMenu;
  forms::ListBox& lstMenus;
  forms::Label& labNum;
  forms::Frame& fraControls;
  forms::Label& Label4;
  forms::ComboBox& cobMenus;
  forms::Label& Label3;
  forms::ComboBox& cobMaskColor;
  forms::Label& Label2;
  forms::PictureBox& picBmp;
  forms::Image& imgBmp;
  forms::CommandButton& cmdOpen;
  forms::Frame& fraCommon;
  forms::CheckBox& chkUseSystemFont;
  forms::Label& Label5;
  forms::ComboBox& cobSize;
  forms::Label& Label6;
  forms::CheckBox& chkDisabled;
  forms::CommandButton& cmdAdd;
  forms::CommandButton& cmdRemove;
  forms::CommandButton& cmdClear;
  forms::CommandButton& cmdAbout;

  // Edits pending in the shown entry or the options. Setting it also marks
  // the page changed; clearing it never clears that mark.
  bool Modified() const { return modified_; }
  void Modified(bool on);

  // The page's copy of the control's icon list, and the position in it of
  // the selected menu's entry (0 when that menu has none).
  const BitmapList& WorkingBitmapList() const { return working_; }
  long CurrentEntryIndex() const { return currentEntry_; }

  void lstMenus_Click();
  void cmdAdd_Click();
  void cmdRemove_Click();
  void cmdClear_Click();
  void cmdOpen_Click();
  void cmdAbout_Click();
  void imgBmp_MouseDown(int Button, int Shift, float X, float Y);
  void imgBmp_MouseMove(int Button, int Shift, float X, float Y);
  void imgBmp_MouseUp(int Button, int Shift, float X, float Y);

 protected:
  void PropertyPage_SelectionChanged() override;
  void PropertyPage_ApplyChanges() override;

 private:
  void RefreshLists();
  void CommitCurrentIcon();
  void CentrePreview();
  void MoveImageBy(float dx, float dy);
  void Edited();
  // The menu key of the selected list line ("" when none is selected), and
  // whether that line's menu has an entry.
  std::string SelectedLineKey() const;
  bool SelectedLineMarked() const;

  MenuIconHost* host_ = nullptr;
  const forms::Control* hostControl_ = nullptr;
  BitmapList working_;
  long currentEntry_ = 0;
  bool refreshing_ = false;
  bool modified_ = false;
  bool dragging_ = false;
  float pressX_ = 0, pressY_ = 0;
};

// ---- the texts the page shows and reads back -----------------------------

// A list line: marker, tab, caption (its tabs written as "\t"), tab, menu key.
std::string MenuListLine(bool hasEntry, std::string_view caption, std::string_view menuKey);
// The field of a list line between its tabs: 0 marker, 1 caption, 2 key.
std::string ListLineField(std::string_view line, int field);
// "#" and the colour in upper-case hexadecimal digits without leading zeros.
std::string MaskColorText(std::uint32_t colour);
// The colour of a mask text: the first character dropped, then hexadecimal
// digits (blanks between them skipped) up to the first other character; no
// digits give 0. Nothing when the digits do not fit 32 bits.
std::optional<std::uint32_t> MaskColorFromText(std::string_view text);
// The number a size text starts with (leading blanks skipped, decimals
// allowed), rounded half to even; 0 when it starts with no number or the
// number does not fit.
int LeadingNumber(std::string_view text);
// Where the image's left (or top) edge goes when panning ends: an image
// smaller than its box is centred, a larger one covers the box.
float PannedEdge(float edge, float boxSize, float imageSize);
// The colour of a picture's lower-left pixel, read from a drawing surface
// the picture was painted into.
std::optional<std::uint32_t> LowerLeftPixel(const forms::Picture& picture);

}  // namespace ornatek
