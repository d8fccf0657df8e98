#pragma once
// The program's icons and its list background bitmap, drawn by the program itself at the size
// asked for. Must be used on the user-interface thread (pixmaps are cached there).

#include <QIcon>
#include <QPixmap>
#include <vector>

namespace ui {

inline constexpr int kIconSize = 32;

namespace ResourceId {
inline constexpr int kApplicationIcon = 128;
inline constexpr int kListBackground = 138;      // bitmap, tiled behind the projector list
inline constexpr int kProjectorAddedIcon = 143;  // added by address or imported
inline constexpr int kConnectByAddressIcon = 144;
inline constexpr int kProjectorFoundIcon = 145;  // found by the network search
inline constexpr int kExclamationIcon = 147;
inline constexpr int kInformationIcon = 148;
inline constexpr int kQuestionIcon = 150;
inline constexpr int kStopIcon = 152;
inline constexpr int kWiredFileIcon = 155;
inline constexpr int kWirelessFileIcon = 156;
}  // namespace ResourceId

// The icon of `id` at 16, 32 and 48 pixels; a null icon for an unknown id.
QIcon LoadIconResource(int id);
// One size of the icon of `id`; a null pixmap for an unknown id.
QPixmap LoadIconPixmap(int id, int size = kIconSize);
// The bitmap of `id` (only the list background); a null pixmap for an unknown id.
QPixmap LoadBitmapResource(int id);

std::vector<int> IconResourceIds();

}  // namespace ui
