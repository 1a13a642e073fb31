#include "list_tab_stops.h"

#include <QFontMetricsF>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include "win/qt_window.h"

namespace forms {

namespace {

class TabStopDelegate : public QStyledItemDelegate {
 public:
  explicit TabStopDelegate(QObject* parent) : QStyledItemDelegate(parent) {}
  std::vector<int> stops;  // dialog units; empty: every 32

  // A row is as high as a line of the list's font, as on the platform;
  // the list sizes itself in whole rows by the same measure.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(QFontMetrics(option.font).height());
    return size;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QFontMetricsF fm(opt.font);
    // A dialog unit is a quarter of the font's mean letter width.
    const double unit = fm.horizontalAdvance(QStringLiteral(
                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                        52.0 / 4.0;
    const QRectF r = opt.rect.adjusted(2, 0, -1, 0);
    painter->save();
    painter->setFont(opt.font);
    const QPalette::ColorGroup group =
        (opt.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    double x = 0;
    std::size_t next = 0;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
      if (i > 0) x = NextStop(x, unit, next);
      painter->drawText(QRectF(r.left() + x, r.top(), std::max(0.0, r.width() - x), r.height()),
                        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, parts[i]);
      x += fm.horizontalAdvance(parts[i]);
    }
    painter->restore();
  }

 private:
  // The first stop right of x; past the last explicit stop a tab is a blank.
  double NextStop(double x, double unit, std::size_t& next) const {
    if (stops.size() <= 1) {
      const double every = (stops.empty() ? 32 : std::max(1, stops[0])) * unit;
      return (std::floor(x / every) + 1) * every;
    }
    for (; next < stops.size(); ++next)
      if (stops[next] * unit > x) return stops[next++] * unit;
    return x + unit * 4;
  }
};

TabStopDelegate* DelegateOf(QListWidget& list) {
  return dynamic_cast<TabStopDelegate*>(list.itemDelegate());
}

}  // namespace

void UseTabStops(QListWidget& list) {
  if (!DelegateOf(list)) list.setItemDelegate(new TabStopDelegate(&list));
}

bool SetTabStops(QListWidget& list, const std::vector<int>& dialogUnits) {
  auto* d = DelegateOf(list);
  if (!d) return false;
  d->stops = dialogUnits;
  list.viewport()->update();
  return true;
}

win::LRESULT ListBoxWindowProc(win::HWND hwnd, win::UINT msg, win::WPARAM wParam,
                               win::LPARAM lParam) {
  if (msg != LB_SETTABSTOPS) return win::DefWindowProcA(hwnd, msg, wParam, lParam);
  auto* list = qobject_cast<QListWidget*>(win::WindowWidget(hwnd));
  if (!list || (wParam && !lParam) || wParam > 0x10000) return win::FALSE;
  const auto* stops = reinterpret_cast<const int*>(lParam);
  return SetTabStops(*list, std::vector<int>(stops, stops + wParam)) ? win::TRUE : win::FALSE;
}

}  // namespace forms
