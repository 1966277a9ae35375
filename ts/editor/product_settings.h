// The product side of ts without windows: quick-switch button indexes and
// names, the resident program's title and start command, the keyboard file
// chosen for a quick button and the licence text as the viewer shows it (the
// copy of a layout with its companion is core/keyboard's CopyLayoutPair).
#pragma once

#include <string>

namespace ts {

constexpr int kQuickButtonCount = 10;
// Capacities of a quick button's fields, terminator included.
constexpr int kShortNameSize = 5;
constexpr int kLongNameSize = 30;
constexpr int kDataSize = 254;
// The stored long name that stands for the default name text of the button.
constexpr char kDefaultNameMark[] = "XXXXX";
// What the resident program writes as the active keyboard while it is off.
constexpr char kTemporarilyOff[] = "ne_exs";
// Window titles of the product begin with this (the single-instance check).
constexpr char kTitlePrefix[] = "Tastrix ";
constexpr char kHookLibraryName[] = "tsdll.dll";
constexpr char kHookProcedureName[] = "SpyGetMsgProc";
constexpr char kResidentProgramName[] = "tastrix.exe";
constexpr char kLicenceFileName[] = "licence.txt";

inline bool IsQuickButton(int index) { return index >= 0 && index < kQuickButtonCount; }

// "Tastrix - <text>": the main window's title and the tray tooltip.
std::string ProductTitle(const std::string& text);
// True when a window title marks a running program of the product.
bool IsProductTitle(const std::string& title);

// `text` cut to at most size - 1 bytes.
std::string CutText(const std::string& text, int size);

// The command that starts the resident program of `programDirectory`, its
// path quoted so that a folder with blanks names the program and not a part.
std::string ResidentCommand(const std::string& programDirectory);

// The keyboard file a user chose in the file dialog: a name that does not
// end in ".tsb" (any case) gets it ("a.txt" gives "a.txt.tsb").
std::string KeyboardFileOf(const std::string& chosen);
// Its quick-button data: the path without the extension; "" when no file name
// is left before the extension (such a name is refused).
std::string QuickButtonDataOf(const std::string& keyboardFile);

// The licence file as the viewer shows it: every line (line feeds, or CR LF
// read in text mode) followed by CR LF, and a last line without a line feed
// as it stands.
std::string LicenceViewText(const std::string& fileBytes);

}  // namespace ts
