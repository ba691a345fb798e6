#include "editor/editor_icons.h"

#include <QString>
#include <array>

// The pictures are compiled into this library; a static library must register
// them itself, as no one refers to them by name.
static void registerIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace pagora {
namespace {

constexpr std::array<const char*, EditorIcons::kCommandIconCount> kCommandFiles = {
    "cmd00_unknown", "cmd01_condition", "cmd02_timelimit", "cmd03_message",  "cmd04_graphic",
    "cmd05_music",   "cmd06_sound",     "cmd07_wait",      "cmd08_variable", "cmd09_string",
    "cmd10_select",  "cmd11_jump",      "cmd12_mouse",     "cmd13_window",   "cmd14_input",
    "cmd15_system",  "cmd16_clickable"};

constexpr std::array<const char*, EditorIcons::kTreeIconCount> kTreeFiles = {
    "tree0_comic", "tree1_book", "tree2_page"};

QIcon resourceIcon(const QString& name) {
    return QIcon(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
}

} // namespace

EditorIcons::EditorIcons() {
    registerIconResources();
    for (const char* file : kCommandFiles)
        commands_.push_back(resourceIcon(QString::fromLatin1(file)));
    for (const char* file : kTreeFiles)
        tree_.push_back(resourceIcon(QString::fromLatin1(file)));
}

const QIcon& EditorIcons::command(int index) const {
    return commands_.at(static_cast<std::size_t>(index));
}

const QIcon& EditorIcons::tree(int index) const {
    return tree_.at(static_cast<std::size_t>(index));
}

QIcon EditorIcons::tool(const char* name) {
    registerIconResources();
    return resourceIcon(QStringLiteral("tool_") + QString::fromLatin1(name));
}

} // namespace pagora
