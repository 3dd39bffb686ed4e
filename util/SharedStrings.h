// Names shared by the utility code: the folders and files of a studio's image set, the browse
// folder and the order server. Read-only texts fixed at compile time, so that no static object
// of another file can see them before they are built. Paths use '/'.
#pragma once

#include <array>
#include <string_view>

namespace shared_strings {

inline constexpr std::string_view BrowseFolderName = "Browse";
inline constexpr std::string_view OrderServerHostName = "orders.wendmoor.example";
inline constexpr std::string_view ImagesFolderName = "Images";
inline constexpr std::string_view EventImagesFolder = "EventImages";
inline constexpr std::string_view EventJpegFolder = "EventImages/JPEG";

inline constexpr std::array<std::string_view, 18> ImageFileNames {
    "Advert.jpg",
    "Logo.jpg",
    "LogoRight.jpg",
    "SmCalendarPort.jpg",
    "SmCalendarView.jpg",
    "LgeCalendarPort.jpg",
    "LgeCalendarView.jpg",
    "TopBookmark.jpg",
    "BottomBookmark.jpg",
    "ReorderInfo.jpg",
    "CatalogReorderInfo.jpg",
    "Clock.jpg",
    "GymBag.jpg",
    "AdultApron.jpg",
    "KidsTShirt.jpg",
    "CaptionBackground.jpg",
    "Ruler6in.jpg",
    "PostLabelLogo.jpg",
};

} // namespace shared_strings

// The release notes that start-up shows once after an upgrade; this release carries none.
inline constexpr std::string_view SoftwareChangesText = "";
