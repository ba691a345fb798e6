#pragma once

#include "document/flag_ctrl.h"
#include "platform/string_map.h"

#include <string>
#include <string_view>
#include <vector>

namespace pagora {

class Clock;
class Prompter;
class RandomSource;
class TComicFileCtrl;

// The variables of a comic at play: the declared ones with the values they
// have now, the special "@" ones from the clock and the random source, and
// the save slots of the session. Names are bare (no delimiters) and CP932.
// What goes wrong (a name that is not declared, an unpaired delimiter) is
// told through the prompter, in the editor's own words.
class PlayVariables {
public:
    PlayVariables(const TComicFileCtrl& comic, Prompter& prompter, const Clock& clock,
                  RandomSource& random);

    // Every variable back to its initial value, "@経過時間" from now, no
    // save slot.
    void reset();

    int number(std::string_view name);
    std::string text(std::string_view name);
    // False when the name is not declared (told) or is a special one.
    bool setNumber(std::string_view name, int value);
    bool setText(std::string_view name, std::string value);

    // The text with its "&name&" and "%name%" replaced by the values.
    std::string expand(std::string_view text);

    // Names and values in declaration order, for a display of the state.
    const std::vector<TValueFlag>& numbers() const { return flags_.ValueFlags; }
    const std::vector<TStringFlag>& texts() const { return flags_.StringFlags; }

    // Save slots. A load of a slot never saved changes nothing and gives
    // false; so does a save or load of a variable that is not declared.
    void saveAll(std::string_view slot);
    bool loadAll(std::string_view slot);
    bool saveNumber(std::string_view name);
    bool loadNumber(std::string_view name);
    bool saveText(std::string_view name);
    bool loadText(std::string_view name);

private:
    struct Snapshot {
        std::vector<int> numbers;
        std::vector<std::string> texts;
    };

    int* numberSlot(std::string_view name);
    std::string* textSlot(std::string_view name);
    bool refuseTarget(std::string_view name, bool numeric);

    Prompter& prompter_;
    TFlagCtrl flags_;
    StringTable<std::size_t> numberIndex_; // name -> first declaration
    StringTable<std::size_t> textIndex_;
    StringTable<Snapshot> allSlots_;
    StringTable<int> numberSlots_;
    StringTable<std::string> textSlots_;
};

// A variable reference without its delimiters ("%a%" -> "a"); a text that
// is not enclosed in them is taken as the bare name.
std::string_view bareName(std::string_view reference, char delimiter);

} // namespace pagora
