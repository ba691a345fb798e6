#include "editor/command_list_delegate.h"

#include "document/cmd_ctrl.h"
#include "editor/command_list_model.h"
#include "editor/editor_context.h"
#include "editor/editor_icons.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace pagora {
namespace {

// The vertical place of the text: the box of a Japanese character centred in
// the row, so that fonts with tall ascents still fit a 15-pixel line.
int baselineFor(const QFont& font) {
    const QFontMetrics metrics(font);
    const QRect glyph = metrics.boundingRect(QChar(0x56FD));
    const int top = (CommandListDelegate::kItemHeight - glyph.height()) / 2;
    return top - glyph.top();
}

} // namespace

CommandListDelegate::CommandListDelegate(const EditorIcons& icons, const UserSettings& user,
                                         QObject* parent)
    : QStyledItemDelegate(parent)
    , icons_(icons)
    , user_(user)
    , font_(listFont())
    , baseline_(baselineFor(font_)) {
}

QFont CommandListDelegate::listFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("VL Gothic"),
                      QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(kItemHeight);
    return font;
}

QColor CommandListDelegate::warningColor() {
    return QColor(0xC6, 0x28, 0x28);
}

void CommandListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const auto* model = qobject_cast<const CommandListModel*>(index.model());
    if (model == nullptr)
        return;
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const LineSummary line = model->summary(index.row());
    painter->save();
    painter->setClipRect(option.rect);
    const QRect rect = option.rect;
    int x = rect.left();
    const auto drawIcon = [&](int icon) {
        icons_.command(icon).paint(painter, QRect(x, rect.top(), kIconSize, kIconSize));
        x += kIconSize;
    };
    if (user_.showCmdIcon) {
        // A comment has no icon but keeps its place, so that texts line up.
        if (const int icon = CommandIconIndex(line.ref.Kind); icon >= 0)
            drawIcon(icon);
        else
            x += kIconSize;
    }
    if (line.ref.HasCondition)
        drawIcon(EditorIcons::kConditionIcon);
    if (line.ref.HasTimeLimit)
        drawIcon(EditorIcons::kTimeLimitIcon);

    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const QPalette::ColorGroup group =
        (option.state & QStyle::State_Active) != 0 ? QPalette::Active : QPalette::Inactive;
    QColor color =
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    if (!line.readable && !selected)
        color = warningColor();
    painter->setPen(color);
    painter->setFont(font_);
    painter->drawText(QPoint(x + 1, rect.top() + baseline_), line.text);
    painter->restore();
}

QSize CommandListDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(0, kItemHeight);
}

} // namespace pagora
