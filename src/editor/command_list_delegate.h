#pragma once

#include <QFont>
#include <QStyledItemDelegate>

namespace pagora {

class EditorIcons;
struct UserSettings;

// Draws one command line: the kind's icon when the session shows command
// icons, the condition and time-limit icons whenever the line has them, then
// the display sentence. A line that cannot be read shows its raw text in the
// warning colour.
class CommandListDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int kItemHeight = 15;
    static constexpr int kIconSize = 16;

    CommandListDelegate(const EditorIcons& icons, const UserSettings& user,
                        QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // A fixed-pitch Japanese font, 15 pixels high.
    static QFont listFont();
    static QColor warningColor();

private:
    const EditorIcons& icons_;
    const UserSettings& user_;
    QFont font_;
    int baseline_ = 0;
};

} // namespace pagora
