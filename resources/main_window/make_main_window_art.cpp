// Draws the main window's toolbar pictures (24 x 24) and its background picture into the
// folder given as the first argument. The PNG files it writes are committed next to this file;
// run it again after changing a drawing:
//   cmake --build <build> --target dorvan_main_window_art
//   QT_QPA_PLATFORM=offscreen <build>/src/project/dorvan_main_window_art resources/main_window
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

using Draw = std::function<void(QPainter&)>;

bool saveIcon(const QString& dir, const QString& name, const Draw& draw)
{
    QImage img(24, 24, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return img.save(dir + "/icons/" + name + ".png");
}

const QColor outline(40, 40, 40);

void page(QPainter& p, const QRectF& r, const QColor& fill = Qt::white)
{
    // A sheet with a folded top right corner.
    const qreal f = 5;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - f, r.top());
    path.lineTo(r.right(), r.top() + f);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(outline, 1));
    p.setBrush(fill);
    p.drawPath(path);
    QPainterPath fold;
    fold.moveTo(r.right() - f, r.top());
    fold.lineTo(r.right() - f, r.top() + f);
    fold.lineTo(r.right(), r.top() + f);
    p.setBrush(QColor(210, 210, 210));
    p.drawPath(fold);
}

void textLines(QPainter& p, const QRectF& r, int lines)
{
    p.setPen(QPen(QColor(90, 110, 160), 1));
    for (int i = 0; i < lines; ++i) {
        const qreal y = r.top() + 2.5 + i * 3;
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void miniWindow(QPainter& p, const QRectF& r, const QColor& title = QColor(30, 80, 180))
{
    p.setPen(QPen(outline, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(title);
    p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 0.5, 3.5));
}

void drawIcons(const QString& dir, bool& ok)
{
    ok &= saveIcon(dir, "new", [](QPainter& p) {
        page(p, QRectF(4.5, 2.5, 15, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 200, 30));
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double a = i * M_PI / 5 - M_PI / 2;
            const double rad = (i % 2 == 0) ? 5.0 : 2.2;
            const QPointF pt(17.5 + rad * std::cos(a), 17.5 + rad * std::sin(a));
            if (i == 0)
                star.moveTo(pt);
            else
                star.lineTo(pt);
        }
        star.closeSubpath();
        p.setPen(QPen(QColor(180, 120, 0), 0.8));
        p.drawPath(star);
    });
    ok &= saveIcon(dir, "open", [](QPainter& p) {
        p.setPen(QPen(outline, 1));
        p.setBrush(QColor(230, 180, 60));
        p.drawRect(QRectF(2.5, 6.5, 17, 13));
        p.drawRect(QRectF(2.5, 4.5, 7, 2));
        QPainterPath front;
        front.moveTo(5.5, 10.5);
        front.lineTo(22.5, 10.5);
        front.lineTo(19.5, 19.5);
        front.lineTo(2.5, 19.5);
        front.closeSubpath();
        p.setBrush(QColor(250, 215, 100));
        p.drawPath(front);
    });
    ok &= saveIcon(dir, "save", [](QPainter& p) {
        p.setPen(QPen(outline, 1));
        p.setBrush(QColor(40, 90, 170));
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(7.5, 14.5, 9, 6));
        p.setBrush(QColor(40, 90, 170));
        p.drawRect(QRectF(13.5, 5, 2, 4));
    });
    ok &= saveIcon(dir, "print", [](QPainter& p) {
        p.setPen(QPen(outline, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 8));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 14.5, 11, 7));
        textLines(p, QRectF(6.5, 15.5, 11, 6), 2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 200, 60));
        p.drawEllipse(QPointF(18.5, 12), 1, 1);
    });
    ok &= saveIcon(dir, "paste", [](QPainter& p) {
        p.setPen(QPen(outline, 1));
        p.setBrush(QColor(170, 120, 60));
        p.drawRoundedRect(QRectF(3.5, 4.5, 14, 17), 1.5, 1.5);
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(7.5, 2.5, 6, 4));
        page(p, QRectF(10.5, 9.5, 11, 13));
        textLines(p, QRectF(10.5, 12.5, 11, 10), 3);
    });
    ok &= saveIcon(dir, "copy", [](QPainter& p) {
        page(p, QRectF(2.5, 2.5, 12, 15));
        textLines(p, QRectF(2.5, 6.5, 12, 10), 3);
        page(p, QRectF(9.5, 7.5, 12, 15));
        textLines(p, QRectF(9.5, 11.5, 12, 10), 3);
    });
    ok &= saveIcon(dir, "cut", [](QPainter& p) {
        p.setPen(QPen(QColor(120, 120, 130), 2));
        p.drawLine(QPointF(8, 3), QPointF(15, 15));
        p.drawLine(QPointF(16, 3), QPointF(9, 15));
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(7.5, 18), 3.5, 3.5);
        p.drawEllipse(QPointF(16.5, 18), 3.5, 3.5);
    });
    ok &= saveIcon(dir, "cascade", [](QPainter& p) {
        miniWindow(p, QRectF(2.5, 2.5, 12, 10));
        miniWindow(p, QRectF(6.5, 6.5, 12, 10));
        miniWindow(p, QRectF(10.5, 10.5, 12, 10));
    });
    ok &= saveIcon(dir, "tile_horizontal", [](QPainter& p) {
        miniWindow(p, QRectF(2.5, 2.5, 19, 9));
        miniWindow(p, QRectF(2.5, 12.5, 19, 9));
    });
    ok &= saveIcon(dir, "tile_vertical", [](QPainter& p) {
        miniWindow(p, QRectF(2.5, 2.5, 9, 19));
        miniWindow(p, QRectF(12.5, 2.5, 9, 19));
    });
    ok &= saveIcon(dir, "close_window", [](QPainter& p) {
        miniWindow(p, QRectF(2.5, 3.5, 19, 17));
        p.setPen(QPen(QColor(210, 30, 30), 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 10), QPointF(16, 18));
        p.drawLine(QPointF(16, 10), QPointF(8, 18));
    });
    ok &= saveIcon(dir, "exit", [](QPainter& p) {
        // A door and an arrow leaving through it.
        p.setPen(QPen(outline, 1));
        p.setBrush(QColor(150, 100, 60));
        p.drawRect(QRectF(3.5, 2.5, 10, 19));
        p.setBrush(QColor(240, 220, 120));
        p.drawEllipse(QPointF(11.5, 12.5), 1, 1);
        p.setPen(QPen(QColor(20, 140, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(9, 12), QPointF(21, 12));
        p.drawLine(QPointF(17, 8), QPointF(21, 12));
        p.drawLine(QPointF(17, 16), QPointF(21, 12));
    });
}

// The program's own icon: places joined to a centre, as the program finds it.
bool drawProgramIcon(const QString& dir)
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(20, 40, 110), 1));
    p.setBrush(QColor(214, 230, 244));
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);
    const QPointF centre(16, 17);
    const QPointF places[] = { { 6, 7 }, { 26, 6 }, { 5, 24 }, { 27, 25 }, { 16, 4 } };
    p.setPen(QPen(QColor(60, 60, 90), 1.2));
    for (const QPointF& pt : places)
        p.drawLine(pt, centre);
    p.setPen(QPen(QColor(200, 40, 40), 1.2));
    p.setBrush(Qt::white);
    for (const QPointF& pt : places)
        p.drawEllipse(pt, 2.2, 2.2);
    p.setPen(QPen(QColor(20, 20, 90), 1.5));
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(centre, 5, 5);
    p.end();
    return img.save(dir + "/icons/dorvan.png");
}

// A calm map-like picture: places scattered over a landscape, joined to a centre.
bool drawBackground(const QString& dir)
{
    const int w = 1024, h = 768;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(214, 230, 244));
    sky.setColorAt(1.0, QColor(236, 242, 226));
    p.fillRect(img.rect(), sky);

    // Grid of the coordinate plane.
    p.setPen(QPen(QColor(180, 196, 214), 1));
    for (int x = 0; x < w; x += 64)
        p.drawLine(x, 0, x, h);
    for (int y = 0; y < h; y += 64)
        p.drawLine(0, y, w, y);

    // Soft hills.
    for (int i = 0; i < 6; ++i) {
        QRadialGradient g(QPointF(120 + i * 170, 560 + (i % 2) * 90), 220);
        g.setColorAt(0, QColor(170, 200, 150, 120));
        g.setColorAt(1, QColor(170, 200, 150, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(QPointF(120 + i * 170, 560 + (i % 2) * 90), 220, 220);
    }

    // A river.
    QPainterPath river;
    river.moveTo(-10, 200);
    river.cubicTo(250, 120, 380, 420, 620, 330);
    river.cubicTo(800, 260, 900, 460, 1040, 420);
    p.setPen(QPen(QColor(120, 170, 220), 14, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(river);

    const QPointF centre(540, 400);
    QRandomGenerator rng(20070827u);
    QList<QPointF> places;
    for (int i = 0; i < 22; ++i)
        places << QPointF(60 + rng.bounded(900), 60 + rng.bounded(640));

    p.setPen(QPen(QColor(90, 90, 110, 150), 2, Qt::DashLine));
    for (const QPointF& pt : places)
        p.drawLine(pt, centre);

    for (const QPointF& pt : places) {
        p.setPen(QPen(QColor(200, 40, 40), 2));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(pt.x() - 6, pt.y() - 6, 12, 12), 4, 4);
    }
    // The centre.
    p.setPen(QPen(QColor(20, 20, 90), 3));
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(centre, 18, 18);
    p.setBrush(QColor(20, 20, 90));
    p.drawEllipse(centre, 5, 5);

    QFont f = p.font();
    f.setPixelSize(64);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(40, 60, 110, 120));
    p.drawText(QRect(0, h - 140, w - 40, 100), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("DORVAN"));
    p.end();
    return img.save(dir + "/background.png");
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir + "/icons");
    bool ok = true;
    drawIcons(dir, ok);
    ok &= drawProgramIcon(dir);
    ok &= drawBackground(dir);
    if (!ok) {
        std::fprintf(stderr, "could not write the pictures\n");
        return 1;
    }
    return 0;
}
