#pragma once

namespace pagora {

// Help topics by the numbers the program's windows ask for.
inline constexpr int kEnvironmentTopic = 22;
inline constexpr int kSystemSettingsTopic = 23;
inline constexpr int kHelpOnHelpTopic = 105;
inline constexpr int kCommandPaletteTopic = 108;
inline constexpr int kWindowSetHelpTopic = 56;
inline constexpr int kPackageTopic = 125;
inline constexpr int kFindHelpTopic = 130;
inline constexpr int kPreviewHelpTopic = 131;
inline constexpr int kFlagSetHelpTopic = 116;
inline constexpr int kMenuSetHelpTopic = 118;

// The help topic each command dialog's help button opens.
inline constexpr int kMessageHelpTopic = 34;
inline constexpr int kGraphicHelpTopic = 35;
inline constexpr int kMusicHelpTopic = 36;
inline constexpr int kSoundHelpTopic = 37;
inline constexpr int kFlagCtrlHelpTopic = 40;
inline constexpr int kValueCtrlHelpTopic = 41;
inline constexpr int kSelectDlgHelpTopic = 42;
inline constexpr int kPageJumpHelpTopic = 43;
inline constexpr int kWindowShowHelpTopic = 45;
inline constexpr int kStrInputHelpTopic = 46;
inline constexpr int kOptionSetHelpTopic = 48;
inline constexpr int kSystemCmdHelpTopic = 53;
inline constexpr int kStringCtrlHelpTopic = 111;
inline constexpr int kClickAbleHelpTopic = 112;
inline constexpr int kClickAbleClearHelpTopic = 113;

} // namespace pagora
