#pragma once

#include <string_view>

// Messages of the data-entry window's pages (UTF-8), shown exactly as written. The messages of
// place entry are in PlaceEntry.h, those of the iteration settings in AllocationSettings.h.
namespace dorvan {

// Places, typed or clicked: the confirmation asked before a place is deleted, around its name.
inline constexpr std::string_view DeletePlaceQuestionText = "Zmazať definované miesto ";
inline constexpr std::string_view DeletePlaceQuestionEndText = " ?!!";

// Picture
inline constexpr std::string_view OpenPictureTitleText = "Otvor obrázok";
inline constexpr std::string_view PictureFilterText
    = "Obrázky a mapy (*.bmp *.jpg *.jpeg *.png *.tif *.tiff);;Bitmapy (*.bmp);;JPEG (*.jpg *.jpeg);;"
      "PNG (*.png);;GeoTIFF (*.tif *.tiff)";
inline constexpr std::string_view PictureNotOpenedText = "Súbor obrázka sa nedá otvoriť !!!";
inline constexpr std::string_view PictureTooLargeText = "Súbor obrázka je príliš veľký !!!";
inline constexpr std::string_view PictureNotReadText = "Súbor obrázka sa nedá prečítať !!!";

// Distances and the distribution centre
inline constexpr std::string_view BadDistanceText = "Chybné zadanie VZDIALENOSTI !!!";
inline constexpr std::string_view ChoosePlaceText = "Vyberte MIESTO !!!";
inline constexpr std::string_view SamePlacesText = "MIESTA SA ROVNAJÚ !!!";
inline constexpr std::string_view ChooseCentreText = "Vyberte DISTRIBUČNÚ CENTRÁLU !!!";
inline constexpr std::string_view CancelCentreQuestionText = "Zrušiť DISTRIBUČNÚ CENTRÁLU ?!!";

} // namespace dorvan
