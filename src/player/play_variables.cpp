#include "player/play_variables.h"

#include "platform/encoding.h"
#include "platform/prompter.h"

namespace pagora {
namespace {

bool isSpecial(std::string_view name) {
    return !name.empty() && name.front() == '@';
}

template <typename Flag>
void indexByName(const std::vector<Flag>& flags, StringTable<std::size_t>& index) {
    index.clear();
    for (std::size_t at = 0; at < flags.size(); ++at)
        index.emplace(flags[at].Name, at); // the first of equal names wins
}

} // namespace

std::string_view bareName(std::string_view reference, char delimiter) {
    if (reference.size() >= 2 && reference.front() == delimiter && reference.back() == delimiter)
        return reference.substr(1, reference.size() - 2);
    return reference;
}

PlayVariables::PlayVariables(const TComicFileCtrl& comic, Prompter& prompter, const Clock& clock,
                             RandomSource& random)
    : prompter_(prompter)
    , flags_(comic, prompter, clock, random) {
    reset();
}

void PlayVariables::reset() {
    flags_.LoadFlags();
    indexByName(flags_.ValueFlags, numberIndex_);
    indexByName(flags_.StringFlags, textIndex_);
    allSlots_.clear();
    numberSlots_.clear();
    textSlots_.clear();
}

int* PlayVariables::numberSlot(std::string_view name) {
    const std::size_t* at = numberIndex_.find(name);
    return at ? &flags_.ValueFlags[*at].Value : nullptr;
}

std::string* PlayVariables::textSlot(std::string_view name) {
    const std::size_t* at = textIndex_.find(name);
    return at ? &flags_.StringFlags[*at].Value : nullptr;
}

int PlayVariables::number(std::string_view name) {
    if (const int* slot = numberSlot(name))
        return *slot;
    return flags_.GetValueFlag(name); // a special value, or the message and 0
}

std::string PlayVariables::text(std::string_view name) {
    if (const std::string* slot = textSlot(name))
        return *slot;
    return flags_.GetStringFlag(name);
}

// Tells why a variable cannot be assigned: special ones are read only, and
// the lookup of an undeclared one gives the editor's message for it.
bool PlayVariables::refuseTarget(std::string_view name, bool numeric) {
    if (isSpecial(name))
        prompter_.error(PAGORA_CP932("読み取り専用の変数“") + std::string(name) +
                        PAGORA_CP932("”には代入できません"));
    else if (numeric)
        flags_.GetValueFlag(name);
    else
        flags_.GetStringFlag(name);
    return false;
}

bool PlayVariables::setNumber(std::string_view name, int value) {
    int* slot = numberSlot(name);
    if (!slot)
        return refuseTarget(name, true);
    *slot = value;
    return true;
}

bool PlayVariables::setText(std::string_view name, std::string value) {
    std::string* slot = textSlot(name);
    if (!slot)
        return refuseTarget(name, false);
    *slot = std::move(value);
    return true;
}

std::string PlayVariables::expand(std::string_view text) {
    // Texts without delimiters are by far the most common; they need no copy
    // through the table's two passes.
    if (text.find_first_of("&%") == std::string_view::npos)
        return std::string(text);
    return flags_.ExpandText(text).Text;
}

void PlayVariables::saveAll(std::string_view slot) {
    Snapshot& snapshot = allSlots_.emplace(slot);
    snapshot.numbers.clear();
    for (const TValueFlag& flag : flags_.ValueFlags)
        snapshot.numbers.push_back(flag.Value);
    snapshot.texts.clear();
    for (const TStringFlag& flag : flags_.StringFlags)
        snapshot.texts.push_back(flag.Value);
}

bool PlayVariables::loadAll(std::string_view slot) {
    const Snapshot* snapshot = allSlots_.find(slot);
    if (!snapshot)
        return false;
    for (std::size_t at = 0; at < snapshot->numbers.size(); ++at)
        flags_.ValueFlags[at].Value = snapshot->numbers[at];
    for (std::size_t at = 0; at < snapshot->texts.size(); ++at)
        flags_.StringFlags[at].Value = snapshot->texts[at];
    return true;
}

bool PlayVariables::saveNumber(std::string_view name) {
    const int* slot = numberSlot(name);
    if (!slot)
        return refuseTarget(name, true);
    numberSlots_.emplace(name) = *slot;
    return true;
}

bool PlayVariables::loadNumber(std::string_view name) {
    int* slot = numberSlot(name);
    if (!slot)
        return refuseTarget(name, true);
    const int* saved = numberSlots_.find(name);
    if (saved)
        *slot = *saved;
    return saved != nullptr;
}

bool PlayVariables::saveText(std::string_view name) {
    const std::string* slot = textSlot(name);
    if (!slot)
        return refuseTarget(name, false);
    textSlots_.emplace(name) = *slot;
    return true;
}

bool PlayVariables::loadText(std::string_view name) {
    std::string* slot = textSlot(name);
    if (!slot)
        return refuseTarget(name, false);
    const std::string* saved = textSlots_.find(name);
    if (saved)
        *slot = *saved;
    return saved != nullptr;
}

} // namespace pagora
