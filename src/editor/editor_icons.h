#pragma once

#include <QIcon>
#include <vector>

namespace pagora {

// The pictures of the main window, drawn by the project as SVG files in the
// program's resources, so they stay sharp at every scale.
class EditorIcons {
public:
    // The command list's image list: 0 unknown command, 1 condition, 2 time
    // limit, 3 to 16 the command kinds.
    static constexpr int kCommandIconCount = 17;
    static constexpr int kConditionIcon = 1;
    static constexpr int kTimeLimitIcon = 2;
    // The tree's images: 0 the comic, 1 a book, 2 a page.
    static constexpr int kTreeIconCount = 3;

    EditorIcons();

    const QIcon& command(int index) const;
    const QIcon& tree(int index) const;
    // A tool button's picture by its name ("new", "open", "player" ...).
    static QIcon tool(const char* name);

private:
    std::vector<QIcon> commands_;
    std::vector<QIcon> tree_;
};

} // namespace pagora
