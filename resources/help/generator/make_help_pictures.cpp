// Draws the pictures of the help window and the About box and stores them as JPEG files.
// Not part of the program's build; run it by hand when a picture has to change:
//   cmake -S resources/help/generator -B /tmp/helppics && cmake --build /tmp/helppics
//   QT_QPA_PLATFORM=offscreen /tmp/helppics/make_help_pictures resources/help
// The pictures show this program's own toolbar, menu and windows, drawn with Qt widgets.

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

QString outDir;

void save(const QImage& image, const char* name, int quality = 80)
{
    const QString path = outDir + "/" + name;
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "JPEG", quality))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s %dx%d\n", qPrintable(path), image.width(), image.height());
}

QImage grabWidget(QWidget& w)
{
    w.ensurePolished();
    w.adjustSize();
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.show();
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(w.palette().window().color());
    w.render(&img);
    w.hide();
    return img;
}

// A plain widget of one colour and a fixed size, to hold the controls of a picture.
void colourFrame(QWidget& frame, const QColor& colour, QSize size)
{
    frame.setAutoFillBackground(true);
    QPalette pal = frame.palette();
    pal.setColor(QPalette::Window, colour);
    frame.setPalette(pal);
    frame.setFixedSize(size);
}

// --- toolbar icons, 24 x 24 -------------------------------------------------------------

void page(QPainter& p, QRectF r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void smallWindow(QPainter& p, QRectF r, QColor title)
{
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 3.5), title);
}

using IconPainter = std::function<void(QPainter&)>;

QList<IconPainter> iconPainters()
{
    return {
        [](QPainter& p) { page(p, QRectF(5.5, 2.5, 13, 19)); }, // new
        [](QPainter& p) { // open: a folder
            p.setPen(QPen(QColor(120, 90, 0), 1));
            p.setBrush(QColor(240, 200, 60));
            p.drawRect(QRectF(2.5, 6.5, 18, 13));
            p.drawRect(QRectF(2.5, 4.5, 7, 2));
            p.setBrush(QColor(255, 225, 110));
            QPolygonF lid(
                { QPointF(5.5, 10.5), QPointF(22.5, 10.5), QPointF(19.5, 19.5), QPointF(2.5, 19.5) });
            p.drawPolygon(lid);
        },
        [](QPainter& p) { // save: a diskette
            p.setPen(QPen(QColor(0, 0, 90), 1));
            p.setBrush(QColor(40, 70, 170));
            p.drawRect(QRectF(3.5, 3.5, 17, 17));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(6.5, 3.5, 11, 7));
            p.setBrush(QColor(190, 190, 190));
            p.drawRect(QRectF(7.5, 14.5, 9, 6));
        },
        [](QPainter& p) { // print
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7.5, 2.5, 9, 8));
            p.setBrush(QColor(170, 170, 170));
            p.drawRect(QRectF(3.5, 9.5, 17, 8));
            p.setBrush(Qt::white);
            p.drawRect(QRectF(7.5, 15.5, 9, 6));
            p.fillRect(QRectF(17, 11, 2, 2), Qt::green);
        },
        [](QPainter& p) { // paste: a clipboard with a sheet
            p.setPen(QPen(QColor(90, 60, 20), 1));
            p.setBrush(QColor(190, 140, 70));
            p.drawRect(QRectF(3.5, 3.5, 13, 17));
            p.setBrush(QColor(150, 150, 150));
            p.drawRect(QRectF(7.5, 2.5, 5, 3));
            page(p, QRectF(10.5, 8.5, 10, 13));
        },
        [](QPainter& p) { // copy: two sheets
            page(p, QRectF(3.5, 2.5, 11, 14));
            page(p, QRectF(9.5, 7.5, 11, 14));
        },
        [](QPainter& p) { // cut: scissors
            p.setPen(QPen(QColor(60, 60, 60), 1.5));
            p.drawLine(QPointF(8, 3), QPointF(15, 15));
            p.drawLine(QPointF(16, 3), QPointF(9, 15));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(180, 0, 0), 2));
            p.drawEllipse(QPointF(7.5, 18), 3.2, 3.2);
            p.drawEllipse(QPointF(16.5, 18), 3.2, 3.2);
        },
        [](QPainter& p) { // cascade
            smallWindow(p, QRectF(2.5, 2.5, 12, 10), QColor(0, 0, 128));
            smallWindow(p, QRectF(6.5, 6.5, 12, 10), QColor(0, 0, 128));
            smallWindow(p, QRectF(10.5, 10.5, 12, 10), QColor(0, 0, 128));
        },
        [](QPainter& p) { // tile horizontally: one window above the other
            smallWindow(p, QRectF(3.5, 2.5, 17, 9), QColor(0, 0, 128));
            smallWindow(p, QRectF(3.5, 12.5, 17, 9), QColor(0, 0, 128));
        },
        [](QPainter& p) { // tile vertically: side by side
            smallWindow(p, QRectF(2.5, 3.5, 9, 17), QColor(0, 0, 128));
            smallWindow(p, QRectF(12.5, 3.5, 9, 17), QColor(0, 0, 128));
        },
        [](QPainter& p) { // close the active window
            smallWindow(p, QRectF(2.5, 3.5, 19, 17), QColor(0, 0, 128));
            p.setPen(QPen(QColor(200, 0, 0), 2.5));
            p.drawLine(QPointF(8, 10), QPointF(16, 18));
            p.drawLine(QPointF(16, 10), QPointF(8, 18));
        },
        [](QPainter& p) { // end the program: a door and an arrow
            p.setPen(QPen(QColor(90, 50, 10), 1));
            p.setBrush(QColor(160, 100, 40));
            p.drawRect(QRectF(3.5, 2.5, 10, 19));
            p.fillRect(QRectF(11, 12, 1.5, 1.5), Qt::yellow);
            p.setPen(QPen(QColor(0, 130, 0), 2.5));
            p.drawLine(QPointF(12, 12), QPointF(21, 12));
            p.drawLine(QPointF(21, 12), QPointF(17, 8));
            p.drawLine(QPointF(21, 12), QPointF(17, 16));
        },
    };
}

// The main window's toolbar with the twelve buttons numbered as in the help text.
QImage toolbarPicture()
{
    const int width = 640, height = 58;
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(QColor(236, 233, 216));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Buttons in their groups as on the toolbar: file, edit, windows, close, end.
    const QList<int> groupOf = { 0, 0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 4 };
    const auto icons = iconPainters();
    int x = 8;
    QFont numberFont("DejaVu Sans", 8, QFont::Bold);
    p.setFont(numberFont);
    for (int i = 0; i < icons.size(); ++i) {
        if (i > 0 && groupOf[i] != groupOf[i - 1]) {
            // separator and a disabled spacer
            p.setPen(QColor(160, 160, 150));
            p.drawLine(x + 6, 5, x + 6, 33);
            p.setPen(Qt::white);
            p.drawLine(x + 7, 5, x + 7, 33);
            x += 18;
        }
        const QRect button(x, 4, 31, 30);
        p.setPen(QColor(255, 255, 255));
        p.drawLine(button.topLeft(), button.topRight());
        p.drawLine(button.topLeft(), button.bottomLeft());
        p.setPen(QColor(160, 160, 150));
        p.drawLine(button.bottomLeft(), button.bottomRight());
        p.drawLine(button.topRight(), button.bottomRight());
        p.save();
        p.translate(x + 4, 7);
        icons[i](p);
        p.restore();
        p.setPen(QColor(190, 0, 0));
        p.drawText(QRect(x - 4, 37, 39, 18), Qt::AlignCenter, QString::number(i + 1));
        x += 34;
    }
    // the input-mode group box that sits on the toolbar
    p.setPen(QColor(130, 130, 120));
    p.setBrush(Qt::NoBrush);
    QFont small("DejaVu Sans", 7);
    p.setFont(small);
    const QRect box(x + 14, 3, width - x - 22, 31);
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QColor(60, 60, 60));
    p.drawEllipse(QPointF(box.left() + 10, box.top() + 10), 4, 4);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(box.left() + 10, box.top() + 10), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(box.left() + 10, box.top() + 23), 4, 4);
    p.drawText(box.left() + 18, box.top() + 14, QString::fromUtf8("Dáta - RUČNE"));
    p.drawText(box.left() + 18, box.top() + 27, QString::fromUtf8("Dáta - OBRÁZOK"));
    return img;
}

// The menu bar with the window menu open.
QImage menuPicture()
{
    const int width = 300, height = 200;
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(QColor(171, 171, 171)); // the frame's empty client area
    QPainter p(&img);
    QFont font("DejaVu Sans", 8);
    p.setFont(font);
    p.fillRect(0, 0, width, 20, QColor(236, 233, 216));
    const QStringList menus = { QString::fromUtf8("Súbor"), QString::fromUtf8("Úpravy"),
        QString::fromUtf8("Metódy"), QString::fromUtf8("Okná"), QString::fromUtf8("O programe") };
    int x = 4;
    int windowMenuX = 0;
    for (const QString& m : menus) {
        const int w = p.fontMetrics().horizontalAdvance(m) + 14;
        if (m == QString::fromUtf8("Okná")) {
            windowMenuX = x;
            p.fillRect(x, 1, w, 18, QColor(49, 106, 197));
            p.setPen(Qt::white);
        } else {
            p.setPen(Qt::black);
        }
        p.drawText(QRect(x, 0, w, 20), Qt::AlignCenter, m);
        x += w;
    }
    const QStringList items = { QString::fromUtf8("Kaskáda"), QString::fromUtf8("Horizontál"),
        QString::fromUtf8("Vertikál"), QString::fromUtf8("Arrange"), QString::fromUtf8("Minimalizovanie"),
        QString::fromUtf8("Zavrieť okno") };
    const QRect menu(windowMenuX, 20, 150, 8 + 22 * items.size());
    p.fillRect(menu.adjusted(3, 3, 3, 3), QColor(120, 120, 120));
    p.fillRect(menu, QColor(250, 250, 247));
    p.setPen(QColor(130, 130, 130));
    p.drawRect(menu.adjusted(0, 0, -1, -1));
    for (int i = 0; i < items.size(); ++i) {
        const QRect row(menu.left() + 3, menu.top() + 4 + 22 * i, menu.width() - 6, 22);
        const bool last = i == items.size() - 1;
        if (last)
            p.fillRect(row, QColor(49, 106, 197));
        p.setPen(last ? Qt::white : Qt::black);
        p.drawText(row.adjusted(24, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, items[i]);
    }
    return img;
}

// The data-entry window right after "Nový", with a few places typed in.
QImage entryPicture()
{
    QWidget frame;
    colourFrame(frame, QColor(236, 233, 216), QSize(600, 318));
    auto* outer = new QVBoxLayout(&frame);
    outer->setContentsMargins(0, 0, 0, 4);
    auto* title = new QLabel(QString::fromUtf8("  Zadávanie údajov"));
    title->setAutoFillBackground(true);
    QPalette tp = title->palette();
    tp.setColor(QPalette::Window, QColor(0, 0, 128));
    tp.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(tp);
    title->setFixedHeight(20);
    QFont tf = title->font();
    tf.setBold(true);
    title->setFont(tf);
    outer->addWidget(title);

    auto* tabs = new QTabWidget;
    outer->addWidget(tabs);
    auto* pageWidget = new QWidget;
    tabs->addTab(pageWidget, QString::fromUtf8("Vstupné dáta - RUČNÉ ZADANIE"));
    tabs->addTab(new QWidget, QString::fromUtf8("Kritériá"));
    tabs->addTab(new QWidget, QString::fromUtf8("Nastavenie"));
    tabs->addTab(new QWidget, QString::fromUtf8("Prehľad"));
    auto* row = new QHBoxLayout(pageWidget);
    auto* left = new QVBoxLayout;
    row->addLayout(left);
    auto* count = new QGroupBox(QString::fromUtf8(" Počet miest "));
    auto* cl = new QHBoxLayout(count);
    auto* countEdit = new QLineEdit("5");
    countEdit->setFixedWidth(60);
    cl->addWidget(countEdit);
    cl->addWidget(new QPushButton("OK"));
    left->addWidget(count);
    auto* place = new QGroupBox(QString::fromUtf8(" Miesto "));
    auto* pl = new QVBoxLayout(place);
    for (const char* t : { "Názov:", "Súradnica X:", "Súradnica Y:" }) {
        auto* h = new QHBoxLayout;
        auto* l = new QLabel(QString::fromUtf8(t));
        l->setFixedWidth(80);
        h->addWidget(l);
        h->addWidget(new QLineEdit);
        pl->addLayout(h);
    }
    pl->addWidget(new QPushButton(QString::fromUtf8("Vložiť miesto")));
    left->addWidget(place);
    left->addStretch();

    auto* table = new QTableWidget(5, 3);
    table->setHorizontalHeaderLabels({ "Miesta", "Sur X", "Sur Y" });
    const char* names[] = { "Brezová", "Dubová", "Javorová", "Lipová", "Topoľová" };
    const char* xs[] = { "12,5", "48", "30,25", "7", "55,5" };
    const char* ys[] = { "40", "36,75", "10", "18,5", "22" };
    for (int i = 0; i < 5; ++i) {
        table->setItem(i, 0, new QTableWidgetItem(QString::fromUtf8(names[i])));
        table->setItem(i, 1, new QTableWidgetItem(xs[i]));
        table->setItem(i, 2, new QTableWidgetItem(ys[i]));
    }
    table->horizontalHeader()->setStretchLastSection(true);
    row->addWidget(table, 1);
    return grabWidget(frame);
}

// The allocation window's result panel: display choice and proportionality.
QImage resultSettingsPicture()
{
    QWidget frame;
    colourFrame(frame, QColor(0xF3, 0xE9, 0x0D), QSize(640, 88));
    auto* h = new QHBoxLayout(&frame);
    auto* show = new QGroupBox(QString::fromUtf8(" Zobrazenie výsledkov "));
    auto* sl = new QHBoxLayout(show);
    auto* withPicture = new QRadioButton(QString::fromUtf8("S obrázkom"));
    auto* without = new QRadioButton(QString::fromUtf8("Bez obrázku"));
    withPicture->setChecked(true);
    sl->addWidget(withPicture);
    sl->addWidget(without);
    h->addWidget(show);
    auto* prop = new QGroupBox(QString::fromUtf8(" Proporcionalita "));
    auto* pl = new QHBoxLayout(prop);
    auto* yes = new QRadioButton(QString::fromUtf8("ÁNO"));
    yes->setChecked(true);
    pl->addWidget(yes);
    pl->addWidget(new QPushButton("Default"));
    pl->addWidget(new QRadioButton(QString::fromUtf8("NIE")));
    h->addWidget(prop);
    auto* result = new QGroupBox(QString::fromUtf8(" Výpočet dorvan "));
    auto* rl = new QHBoxLayout(result);
    auto* e = new QLineEdit("X = 29,3417   Y = 25,0862");
    e->setReadOnly(true);
    rl->addWidget(e);
    h->addWidget(result, 1);
    return grabWidget(frame);
}

// The two result lists side by side: places and the iteration path.
QImage resultListsPicture()
{
    QWidget frame;
    colourFrame(frame, QColor(192, 220, 192), QSize(640, 88));
    auto* h = new QHBoxLayout(&frame);
    h->setContentsMargins(4, 2, 4, 2);
    auto makeList = [&](const char* caption, const QStringList& lines) {
        auto* g = new QGroupBox(QString::fromUtf8(caption));
        auto* l = new QVBoxLayout(g);
        l->setContentsMargins(3, 3, 3, 3);
        auto* list = new QListWidget;
        QPalette lp = list->palette();
        lp.setColor(QPalette::Base, QColor(255, 251, 240));
        list->setPalette(lp);
        QFont f = list->font();
        f.setBold(true);
        list->setFont(f);
        list->addItems(lines);
        l->addWidget(list);
        h->addWidget(g);
    };
    makeList(" Miesta ",
        { QString::fromUtf8("M1  Brezová  12,5 ; 40"), QString::fromUtf8("M2  Dubová  48 ; 36,75"),
            QString::fromUtf8("M3  Javorová  30,25 ; 10") });
    makeList(" Výpočet dorvan ", { "1:  30,65 ; 25,35", "2:  29,88 ; 25,19", "3:  29,52 ; 25,12" });
    return grabWidget(frame);
}

// A result chart: places, the iteration path and the optimal centre.
QImage chartPicture(bool overMap)
{
    const int width = 640, height = 88;
    QImage img(width, height, QImage::Format_RGB32);
    QPainter p(&img);
    if (overMap) {
        // a plain map: fields, a river and roads
        img.fill(QColor(226, 236, 204));
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(QRect(380, 0, 260, 88), QColor(236, 226, 200));
        QPainterPath river;
        river.moveTo(0, 70);
        river.cubicTo(160, 30, 300, 95, 640, 40);
        p.setPen(QPen(QColor(110, 160, 220), 6));
        p.drawPath(river);
        p.setPen(QPen(QColor(250, 250, 250), 4));
        p.drawLine(40, 0, 220, 88);
        p.drawLine(0, 20, 640, 60);
        p.drawLine(470, 0, 520, 88);
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.drawLine(40, 0, 220, 88);
        p.setRenderHint(QPainter::Antialiasing, false);
    } else {
        img.fill(Qt::white);
        p.setPen(Qt::black);
        p.drawLine(30, 78, 620, 78);
        p.drawLine(30, 6, 30, 78);
        QFont f("DejaVu Sans", 6);
        p.setFont(f);
        for (int i = 0; i <= 10; ++i) {
            const int x = 30 + 59 * i;
            p.drawLine(x, 78, x, 81);
            p.drawText(x - 8, 87, QString::number(i * 6));
        }
    }
    const QList<QPoint> places = { { 90, 20 }, { 560, 28 }, { 330, 66 }, { 60, 58 }, { 596, 50 } };
    const QPoint centre(350, 42);
    QFont label("DejaVu Sans", 7, QFont::Bold);
    p.setFont(label);
    for (int i = 0; i < places.size(); ++i) {
        const QPoint& q = places[i];
        p.setPen(QPen(QColor(150, 150, 150), 1, Qt::DotLine));
        p.drawLine(q, centre);
        p.setPen(QPen(Qt::red, 1));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRect(q.x() - 3, q.y() - 3, 7, 7), 3, 3);
        p.setPen(Qt::black);
        p.drawText(q.x() + 7, q.y() - 4, (overMap ? QString("A0%1") : QString("M%1")).arg(i + 1));
    }
    // the iteration path toward the centre
    QPoint prev(300, 30);
    p.setPen(QPen(QColor(0, 0, 200), 1));
    for (int k = 1; k <= 6; ++k) {
        const double t = 1.0 - std::pow(0.5, k);
        QPoint next(
            static_cast<int>(300 + (centre.x() - 300) * t), static_cast<int>(30 + (centre.y() - 30) * t));
        p.drawLine(prev, next);
        prev = next;
    }
    p.setBrush(Qt::red);
    p.setPen(QPen(Qt::darkRed, 1));
    p.drawEllipse(centre, 5, 5);
    p.setPen(Qt::black);
    p.drawText(centre.x() + 8, centre.y() + 12, QString::fromUtf8("Optimum"));
    return img;
}

// The About box's small picture: a globe that opens the web page.
QImage globePicture()
{
    QImage img(40, 40, QImage::Format_RGB32);
    img.fill(QColor(255, 224, 0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(90, 160, 230));
    p.drawEllipse(QPointF(20, 20), 16, 16);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(20, 20), 7, 16);
    p.drawLine(QPointF(4, 20), QPointF(36, 20));
    p.drawLine(QPointF(7, 12), QPointF(33, 12));
    p.drawLine(QPointF(7, 28), QPointF(33, 28));
    p.drawLine(QPointF(20, 4), QPointF(20, 36));
    return img;
}

// The About box's second picture: the program's emblem, a centre joined to its places.
QImage emblemPicture()
{
    QImage img(52, 52, QImage::Format_RGB32);
    img.fill(QColor(255, 224, 0));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QList<QPointF> places = { { 8, 10 }, { 44, 8 }, { 7, 41 }, { 43, 44 }, { 26, 5 } };
    const QPointF centre(25, 27);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    for (const QPointF& q : places)
        p.drawLine(q, centre);
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::red, 1.5));
    for (const QPointF& q : places)
        p.drawRoundedRect(QRectF(q.x() - 4, q.y() - 4, 8, 8), 3, 3);
    p.setBrush(Qt::red);
    p.setPen(QPen(QColor(120, 0, 0), 1.5));
    p.drawEllipse(centre, 6, 6);
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setFont(QFont("DejaVu Sans", 8));
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    save(toolbarPicture(), "toolbar.jpg", 90);
    save(menuPicture(), "window_menu.jpg", 90);
    save(entryPicture(), "data_entry.jpg");
    save(resultSettingsPicture(), "result_settings.jpg");
    save(resultListsPicture(), "result_lists.jpg");
    save(chartPicture(false), "result_chart.jpg");
    save(chartPicture(true), "result_map.jpg");
    save(globePicture(), "globe.jpg", 90);
    save(emblemPicture(), "emblem.jpg", 90);
    return 0;
}
