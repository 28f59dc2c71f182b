#pragma once

#include "ui/entry/EntryPages.h"

#include "core/entry/PicturePlacement.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <optional>
#include <utility>

class PictureSurface;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableWidget;

namespace entry {

// The picture page TabSheet19 of the data-entry window: a map picture is loaded and places are
// clicked onto it; the list StringGrid7 shows them. Code in Vstupne_Udaje_Obrazok.cpp.
class PicturePage : public QWidget {
public:
    explicit PicturePage(const EntryContext& context);

    // Shows the map picture of an opened project: sizes Image1, draws the picture with the
    // marks of the places, fills StringGrid7, enables Image1, disables Button48.
    void showProjectPicture();
    // The coordinate columns of StringGrid7 as the project holds them.
    void showPictureCoordinates();

private:
    QGroupBox* buildPictureBox();
    QGroupBox* buildSideBox();
    QGroupBox* buildProportionBox();
    QGroupBox* buildCoordinatesBox();
    QGroupBox* buildListBox();
    QGroupBox* buildScaleBox();
    // Reads a picture or a map chosen with "Otvor" into the project (Vstupne_Udaje_Mapa.cpp):
    // the notice for the status bar (empty for none), or nothing, with the user told why, when
    // nothing changed.
    std::optional<QString> loadPictureFile(const QString& file);
    // The X/Y a click at (x, y) of Image1 gives: kilometres for a map or a scaled picture,
    // display pixels otherwise.
    std::optional<std::pair<double, double>> clickedCoordinates(int x, int y) const;
    void hookEvents();
    void Button48Click();
    void setPictureRange();
    void fitPictureControl(bool proportional);
    void redrawPicture(int rangeX, int rangeY);
    void drawPlaceMark(int n, QPoint at);
    void setPictureCaption();
    void layOutPictureGrid(int rowCount);
    void refillPictureRows(int count);
    void ObrClick(int x, int y);
    void Image1MouseMove(QPoint at);
    void Image1MouseLeave();
    QString placeTipAt(QPoint at) const;
    void proportionClicked(bool proportional);
    void picturePageResized();
    void StringGrid7Delete();

    EntryContext context_;
    // The coordinate range the marks were last drawn for.
    dorvan::PictureRange shownRange_;
    QGroupBox* GroupBox54 = nullptr;
    PictureSurface* Image1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr;
    QScrollBar* ScrollBar2 = nullptr;
    QPushButton* Button48 = nullptr;
    QRadioButton* RadioButton7 = nullptr;
    QRadioButton* RadioButton8 = nullptr;
    QLineEdit* Edit50 = nullptr;
    QLineEdit* Edit51 = nullptr;
    QLineEdit* Edit52 = nullptr;
    QLineEdit* Edit53 = nullptr;
    QLineEdit* EditMapWidth = nullptr; // "Šírka mapy (km)"
    QLineEdit* EditMapHeight = nullptr; // "Výška mapy (km)"
    QGroupBox* GroupBox58 = nullptr;
    QTableWidget* StringGrid7 = nullptr;
};

} // namespace entry
