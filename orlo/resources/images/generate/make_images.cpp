// Draws every image of the program with QPainter and writes it as an XPM
// source file ("<name>.xpm" declaring "<name>_xpm") into the given folder.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>
#include <cstdio>

namespace {

QString gOut;

// Semi-transparent edge pixels are blended over the light window colour,
// since XPM knows only opaque and transparent.
const QColor kBackdrop(236, 236, 236);

bool writeXpm(const QImage& src, const QString& name, int step)
{
    const QImage img = src.convertToFormat(QImage::Format_ARGB32);
    const int w = img.width();
    const int h = img.height();
    QVector<QString> pixelKeys(w * h);
    QMap<QString, int> colours;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            const int a = qAlpha(p);
            QString key;
            if (a < 96) {
                key = QStringLiteral("None");
            } else {
                auto mix = [&](int c, int b) {
                    int v = (c * a + b * (255 - a)) / 255;
                    if (step > 1)
                        v = qBound(0, (v + step / 2) / step * step, 255);
                    return v;
                };
                key = QString::asprintf("#%02X%02X%02X", mix(qRed(p), kBackdrop.red()),
                                        mix(qGreen(p), kBackdrop.green()), mix(qBlue(p), kBackdrop.blue()));
            }
            pixelKeys[y * w + x] = key;
            colours.insert(key, 0);
        }
    }
    QString alphabet;
    for (char c = ' '; c <= '~'; ++c)
        if (c != '"' && c != '\\')
            alphabet += QLatin1Char(c);
    const int n = colours.size();
    int cpp = 1;
    for (int cap = alphabet.size(); cap < n; cap *= alphabet.size())
        ++cpp;
    QMap<QString, QString> code;
    int index = 0;
    for (auto it = colours.begin(); it != colours.end(); ++it, ++index) {
        QString c;
        int v = index;
        for (int i = 0; i < cpp; ++i) {
            c += alphabet.at(v % alphabet.size());
            v /= alphabet.size();
        }
        code.insert(it.key(), c);
    }
    QFile f(gOut + "/" + name + ".xpm");
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream s(&f);
    s << "/* XPM */\n";
    s << "/* Drawn for ORLO by resources/images/generate/make_images.cpp */\n";
    s << "static const char* const " << name << "_xpm[] = {\n";
    s << "\"" << w << " " << h << " " << n << " " << cpp << "\",\n";
    for (auto it = code.begin(); it != code.end(); ++it)
        s << "\"" << it.value() << " c " << it.key() << "\",\n";
    for (int y = 0; y < h; ++y) {
        s << "\"";
        for (int x = 0; x < w; ++x)
            s << code.value(pixelKeys[y * w + x]);
        s << (y + 1 < h ? "\",\n" : "\"\n");
    }
    s << "};\n";
    printf("%s %dx%d colours %d cpp %d\n", qPrintable(name), w, h, n, cpp);
    return true;
}

QImage canvas(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

void prepare(QPainter& p, double scale)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(scale, scale);
}

QPen pen(const QColor& c, double w)
{
    QPen pn(c, w);
    pn.setJoinStyle(Qt::RoundJoin);
    pn.setCapStyle(Qt::RoundCap);
    return pn;
}

// Bold lettering of the logos and pictures.
void lettering(QPainter& p, const QRectF& box, const QString& text, int pixels, double spacing, const QColor& colour,
               Qt::Alignment align = Qt::AlignCenter)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(box, align, text);
}

// A page with a folded corner on a 24-unit grid.
void page(QPainter& p, const QColor& fill)
{
    QPainterPath path;
    path.moveTo(5, 2.5);
    path.lineTo(14.5, 2.5);
    path.lineTo(19.5, 7.5);
    path.lineTo(19.5, 21.5);
    path.lineTo(5, 21.5);
    path.closeSubpath();
    QLinearGradient g(5, 2, 19, 22);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, fill);
    p.setBrush(g);
    p.setPen(pen(QColor(90, 104, 128), 1.0));
    p.drawPath(path);
    QPainterPath fold;
    fold.moveTo(14.5, 2.5);
    fold.lineTo(14.5, 7.5);
    fold.lineTo(19.5, 7.5);
    p.setBrush(QColor(214, 222, 234));
    p.drawPath(fold);
}

// A floppy disk on a 24-unit grid.
void floppy(QPainter& p)
{
    QPainterPath body;
    body.moveTo(3.5, 3.5);
    body.lineTo(17.5, 3.5);
    body.lineTo(20.5, 6.5);
    body.lineTo(20.5, 20.5);
    body.lineTo(3.5, 20.5);
    body.closeSubpath();
    QLinearGradient g(3, 3, 20, 21);
    g.setColorAt(0, QColor(86, 136, 206));
    g.setColorAt(1, QColor(38, 78, 148));
    p.setBrush(g);
    p.setPen(pen(QColor(24, 48, 96), 1.0));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 240, 246));
    p.drawRect(QRectF(6.5, 4, 10, 6));
    p.setBrush(QColor(38, 78, 148));
    p.drawRect(QRectF(13, 5, 2.2, 4));
    p.setBrush(QColor(250, 250, 250));
    p.drawRoundedRect(QRectF(6, 13, 12, 7), 1, 1);
    p.setPen(pen(QColor(160, 170, 190), 0.8));
    p.drawLine(QPointF(7.5, 15.5), QPointF(16.5, 15.5));
    p.drawLine(QPointF(7.5, 17.8), QPointF(14.5, 17.8));
}

QImage fileNew()
{
    QImage img = canvas(24, 24);
    QPainter p(&img);
    prepare(p, 1.0);
    page(p, QColor(226, 232, 242));
    // A small sparkle for "new".
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 186, 40));
    QPainterPath star;
    const QPointF c(17.5, 17.5);
    for (int i = 0; i < 8; ++i) {
        const double r = (i % 2 == 0) ? 5.2 : 1.8;
        const double a = i * M_PI / 4.0 - M_PI / 2.0;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(pen(QColor(176, 120, 10), 0.7));
    p.drawPath(star);
    return img;
}

QImage fileOpen(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    prepare(p, size / 24.0);
    QPainterPath back;
    back.moveTo(2.5, 5.5);
    back.lineTo(8.5, 5.5);
    back.lineTo(10.5, 7.5);
    back.lineTo(19.5, 7.5);
    back.lineTo(19.5, 19.5);
    back.lineTo(2.5, 19.5);
    back.closeSubpath();
    p.setPen(pen(QColor(150, 100, 20), 1.0));
    p.setBrush(QColor(226, 170, 60));
    p.drawPath(back);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5, 9, 12, 6));
    QPainterPath front;
    front.moveTo(2.5, 19.5);
    front.lineTo(6.0, 11.5);
    front.lineTo(22.5, 11.5);
    front.lineTo(19.5, 19.5);
    front.closeSubpath();
    QLinearGradient g(6, 11, 18, 20);
    g.setColorAt(0, QColor(255, 222, 120));
    g.setColorAt(1, QColor(240, 180, 50));
    p.setBrush(g);
    p.setPen(pen(QColor(150, 100, 20), 1.0));
    p.drawPath(front);
    return img;
}

QImage fileSave()
{
    QImage img = canvas(24, 24);
    QPainter p(&img);
    prepare(p, 1.0);
    floppy(p);
    return img;
}

QImage fileSaveAs()
{
    QImage img = canvas(22, 22);
    QPainter p(&img);
    prepare(p, 22.0 / 24.0);
    floppy(p);
    // A pencil across the corner.
    p.translate(15.5, 15.5);
    p.rotate(-45);
    p.setPen(pen(QColor(90, 60, 10), 0.8));
    p.setBrush(QColor(250, 200, 60));
    p.drawRect(QRectF(-6, -1.8, 9, 3.6));
    p.setBrush(QColor(240, 210, 170));
    QPainterPath tip;
    tip.moveTo(3, -1.8);
    tip.lineTo(6.5, 0);
    tip.lineTo(3, 1.8);
    tip.closeSubpath();
    p.drawPath(tip);
    p.setBrush(QColor(220, 90, 90));
    p.drawRect(QRectF(-7.5, -1.8, 1.5, 3.6));
    return img;
}

QImage sdCard()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    prepare(p, 1.0);
    QPainterPath body;
    body.moveTo(10.5, 2.5);
    body.lineTo(25.5, 2.5);
    body.quadTo(27.5, 2.5, 27.5, 4.5);
    body.lineTo(27.5, 27.5);
    body.quadTo(27.5, 29.5, 25.5, 29.5);
    body.lineTo(6.5, 29.5);
    body.quadTo(4.5, 29.5, 4.5, 27.5);
    body.lineTo(4.5, 8.5);
    body.closeSubpath();
    QLinearGradient g(4, 2, 28, 30);
    g.setColorAt(0, QColor(70, 80, 98));
    g.setColorAt(1, QColor(30, 36, 48));
    p.setBrush(g);
    p.setPen(pen(QColor(16, 20, 28), 1.0));
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 186, 70));
    for (int i = 0; i < 5; ++i)
        p.drawRoundedRect(QRectF(10.5 + i * 3.2, 4.5, 2.0, 6), 0.5, 0.5);
    p.setBrush(QColor(232, 236, 244));
    p.drawRoundedRect(QRectF(7.5, 14.5, 17, 12), 1.5, 1.5);
    p.setBrush(QColor(40, 110, 200));
    p.drawRect(QRectF(7.5, 14.5, 17, 3.5));
    p.setPen(pen(QColor(40, 110, 200), 1.2));
    p.drawLine(QPointF(10, 21), QPointF(22, 21));
    p.drawLine(QPointF(10, 23.8), QPointF(18, 23.8));
    return img;
}

QImage globe()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    prepare(p, 1.0);
    QRadialGradient g(12, 11, 18);
    g.setColorAt(0, QColor(120, 190, 250));
    g.setColorAt(1, QColor(20, 70, 150));
    p.setBrush(g);
    p.setPen(pen(QColor(14, 46, 100), 1.0));
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    p.setClipRegion(QRegion(QRect(3, 3, 27, 27), QRegion::Ellipse));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(84, 170, 84));
    QPainterPath land;
    land.moveTo(6, 10);
    land.cubicTo(10, 5, 16, 6, 15, 11);
    land.cubicTo(14, 15, 9, 14, 10, 19);
    land.cubicTo(10, 23, 5, 21, 4, 16);
    land.closeSubpath();
    land.moveTo(19, 15);
    land.cubicTo(24, 13, 29, 17, 26, 22);
    land.cubicTo(24, 26, 20, 27, 19, 23);
    land.closeSubpath();
    p.drawPath(land);
    p.setClipping(false);
    p.setPen(pen(QColor(255, 255, 255, 150), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 6, 13.5);
    p.drawLine(QPointF(2.5, 16), QPointF(29.5, 16));
    p.drawLine(QPointF(16, 2.5), QPointF(16, 29.5));
    // The flight path that the export draws.
    p.setPen(pen(QColor(250, 70, 50), 1.6));
    QPainterPath track;
    track.moveTo(7, 24);
    track.cubicTo(11, 14, 20, 20, 25, 8);
    p.drawPath(track);
    p.setBrush(QColor(250, 70, 50));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(25, 8), 2, 2);
    return img;
}

QImage csv()
{
    QImage img = canvas(32, 32);
    QPainter p(&img);
    prepare(p, 1.0);
    p.setPen(pen(QColor(60, 90, 60), 1.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(3.5, 4.5, 25, 23), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 80));
    p.drawRect(QRectF(4, 5, 24, 5));
    p.setPen(pen(QColor(170, 190, 170), 0.8));
    for (int r = 0; r < 4; ++r)
        p.drawLine(QPointF(4, 14.5 + r * 4), QPointF(28, 14.5 + r * 4));
    p.drawLine(QPointF(11.5, 10), QPointF(11.5, 27));
    p.drawLine(QPointF(19.5, 10), QPointF(19.5, 27));
    p.setPen(pen(QColor(40, 80, 160), 1.1));
    for (int r = 0; r < 4; ++r) {
        p.drawLine(QPointF(5.5, 12.5 + r * 4), QPointF(9.5, 12.5 + r * 4));
        p.drawLine(QPointF(13.5, 12.5 + r * 4), QPointF(13.5 + 2 + (r % 3) * 1.5, 12.5 + r * 4));
        p.drawLine(QPointF(21.5, 12.5 + r * 4), QPointF(21.5 + 4 - r, 12.5 + r * 4));
    }
    return img;
}

QImage quit()
{
    QImage img = canvas(22, 22);
    QPainter p(&img);
    prepare(p, 22.0 / 24.0);
    QRadialGradient g(10, 9, 13);
    g.setColorAt(0, QColor(244, 110, 96));
    g.setColorAt(1, QColor(176, 30, 26));
    p.setBrush(g);
    p.setPen(pen(QColor(120, 20, 20), 1.0));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setPen(pen(Qt::white, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(6.5, 6.5, 11, 11), 120 * 16, 300 * 16);
    p.drawLine(QPointF(12, 4.5), QPointF(12, 11));
    return img;
}

QImage roundBadge(const QColor& light, const QColor& dark, const QString& glyph)
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    prepare(p, 1.0);
    QRadialGradient g(6, 5, 10);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setBrush(g);
    p.setPen(pen(dark.darker(140), 0.8));
    p.drawEllipse(QPointF(8, 8), 7, 7);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0.5, 16, 16), Qt::AlignCenter, glyph);
    return img;
}

// A record file: a small page with a signal trace.
QImage recordFile()
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    prepare(p, 1.0);
    p.setPen(pen(QColor(70, 86, 110), 0.9));
    p.setBrush(QColor(248, 250, 253));
    p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 1.2, 1.2);
    p.setPen(pen(QColor(30, 130, 210), 1.2));
    QPainterPath trace;
    trace.moveTo(3, 10);
    trace.lineTo(5, 10);
    trace.lineTo(6, 5.5);
    trace.lineTo(8, 11);
    trace.lineTo(9.5, 7);
    trace.lineTo(11, 8.5);
    trace.lineTo(13, 8.5);
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);
    return img;
}

// A device: a small module with connector pins.
QImage device()
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    prepare(p, 1.0);
    p.setPen(pen(QColor(80, 80, 80), 0.8));
    for (int i = 0; i < 3; ++i) {
        p.drawLine(QPointF(5 + i * 3, 1.5), QPointF(5 + i * 3, 3.5));
        p.drawLine(QPointF(5 + i * 3, 12.5), QPointF(5 + i * 3, 14.5));
    }
    QLinearGradient g(2, 3, 14, 13);
    g.setColorAt(0, QColor(92, 120, 168));
    g.setColorAt(1, QColor(44, 64, 110));
    p.setBrush(g);
    p.setPen(pen(QColor(30, 40, 70), 0.8));
    p.drawRoundedRect(QRectF(2.5, 3.5, 11, 9), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 140));
    p.drawEllipse(QPointF(5.5, 6.5), 1.2, 1.2);
    p.setBrush(QColor(200, 210, 230));
    p.drawRect(QRectF(8, 8.5, 4, 1.4));
    return img;
}

// A parameter: a value marker on a short scale.
QImage parameter()
{
    QImage img = canvas(16, 16);
    QPainter p(&img);
    prepare(p, 1.0);
    p.setPen(pen(QColor(110, 110, 110), 1.0));
    p.drawLine(QPointF(2, 13.5), QPointF(14, 13.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 230));
    p.drawRect(QRectF(2.5, 8, 2.6, 5));
    p.setBrush(QColor(60, 180, 110));
    p.drawRect(QRectF(6.7, 4, 2.6, 9));
    p.setBrush(QColor(240, 160, 40));
    p.drawRect(QRectF(10.9, 6, 2.6, 7));
    return img;
}

QImage dialIcon(int size)
{
    QImage img = canvas(size, size);
    QPainter p(&img);
    prepare(p, size / 16.0);
    QRadialGradient g(7, 6, 9);
    g.setColorAt(0, QColor(70, 76, 90));
    g.setColorAt(1, QColor(22, 26, 34));
    p.setBrush(g);
    p.setPen(pen(QColor(150, 156, 170), 0.9));
    p.drawEllipse(QPointF(8, 8), 6.8, 6.8);
    p.setPen(pen(QColor(230, 230, 230), 0.6));
    for (int i = 0; i <= 6; ++i) {
        const double a = (225.0 - i * 45.0) * M_PI / 180.0;
        p.drawLine(QPointF(8 + 4.6 * std::cos(a), 8 - 4.6 * std::sin(a)),
                   QPointF(8 + 5.8 * std::cos(a), 8 - 5.8 * std::sin(a)));
    }
    p.setPen(pen(QColor(255, 120, 60), 1.2));
    p.drawLine(QPointF(8, 8), QPointF(11.2, 4.6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 210, 210));
    p.drawEllipse(QPointF(8, 8), 1.2, 1.2);
    return img;
}

// The company logo of the about box and the window icon (invented mark).
QImage corvaneLogo()
{
    QImage img = canvas(150, 74);
    QPainter p(&img);
    prepare(p, 1.0);
    QPainterPath wing;
    wing.moveTo(8, 50);
    wing.cubicTo(30, 12, 70, 6, 104, 20);
    wing.cubicTo(72, 16, 40, 26, 22, 52);
    wing.closeSubpath();
    QLinearGradient g(8, 50, 104, 20);
    g.setColorAt(0, QColor(20, 70, 150));
    g.setColorAt(1, QColor(60, 160, 220));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(wing);
    p.setBrush(QColor(236, 150, 40));
    p.drawEllipse(QPointF(112, 22), 6, 6);
    lettering(p, QRectF(0, 46, 150, 26), QStringLiteral("CORVANE"), 20, 2, QColor(24, 46, 88));
    return img;
}

QImage tamselLogo()
{
    QImage img = canvas(150, 184);
    QPainter p(&img);
    prepare(p, 1.0);
    const QPointF c(75, 70);
    QRadialGradient g(65, 55, 70);
    g.setColorAt(0, QColor(90, 170, 120));
    g.setColorAt(1, QColor(20, 90, 70));
    p.setBrush(g);
    p.setPen(pen(QColor(14, 60, 46), 2.0));
    p.drawEllipse(c, 58, 58);
    // A stylised propeller: three blades.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 248, 240));
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 120.0 + 15.0);
        QPainterPath blade;
        blade.moveTo(0, 0);
        blade.cubicTo(10, -16, 8, -40, 0, -46);
        blade.cubicTo(-8, -40, -6, -16, 0, 0);
        p.drawPath(blade);
        p.restore();
    }
    p.setBrush(QColor(236, 150, 40));
    p.drawEllipse(c, 7, 7);
    lettering(p, QRectF(0, 136, 150, 40), QStringLiteral("TAMSEL"), 24, 3, QColor(20, 80, 60));
    return img;
}

// The application picture of the about box: a large instrument dial.
QImage kavo()
{
    QImage img = canvas(320, 312);
    QPainter p(&img);
    prepare(p, 1.0);
    const QPointF c(160, 156);
    QRadialGradient bezel(130, 120, 200);
    bezel.setColorAt(0, QColor(200, 206, 216));
    bezel.setColorAt(1, QColor(80, 88, 104));
    p.setBrush(bezel);
    p.setPen(pen(QColor(40, 44, 54), 3));
    p.drawEllipse(c, 150, 150);
    QRadialGradient face(140, 130, 150);
    face.setColorAt(0, QColor(52, 58, 72));
    face.setColorAt(1, QColor(14, 16, 22));
    p.setBrush(face);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 132, 132);
    // Green, amber and red bands of the scale.
    auto band = [&](double from, double span, const QColor& col) {
        p.setPen(QPen(col, 10, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(c.x() - 112, c.y() - 112, 224, 224), int(from * 16), int(span * 16));
    };
    band(-45, 40, QColor(220, 60, 50));
    band(-5, 40, QColor(240, 180, 40));
    band(35, 190, QColor(70, 190, 100));
    p.setPen(pen(QColor(236, 236, 236), 3));
    for (int i = 0; i <= 10; ++i) {
        const double a = (225.0 - i * 27.0) * M_PI / 180.0;
        p.drawLine(QPointF(c.x() + 92 * std::cos(a), c.y() - 92 * std::sin(a)),
                   QPointF(c.x() + 124 * std::cos(a), c.y() - 124 * std::sin(a)));
    }
    lettering(p, QRectF(c.x() - 80, c.y() + 40, 160, 50), QStringLiteral("KAVO"), 34, 0, QColor(236, 236, 236));
    const double a = (225.0 - 6.5 * 27.0) * M_PI / 180.0;
    p.setPen(pen(QColor(255, 120, 50), 8));
    p.drawLine(c, QPointF(c.x() + 100 * std::cos(a), c.y() - 100 * std::sin(a)));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 196, 206));
    p.drawEllipse(c, 14, 14);
    return img;
}

// The splash picture. Start-up writes its progress lines in dark blue at
// the upper left, so that corner stays light.
QImage splash()
{
    const int w = 536;
    const int h = 403;
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    prepare(p, 1.0);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0.0, QColor(248, 250, 254));
    sky.setColorAt(0.62, QColor(214, 228, 246));
    sky.setColorAt(1.0, QColor(120, 156, 204));
    p.fillRect(QRect(0, 0, w, h), sky);
    // A faint chart grid on the lower part.
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    for (int x = 0; x < w; x += 24)
        p.drawLine(x, 262, x, h);
    for (int y = 262; y < h; y += 24)
        p.drawLine(0, y, w, y);
    // Three recorded traces running across it.
    const QColor colours[3] = { QColor(30, 110, 200), QColor(40, 160, 90), QColor(230, 130, 30) };
    for (int k = 0; k < 3; ++k) {
        QPainterPath trace;
        for (int x = 0; x <= w; x += 4) {
            const double y = 330 - k * 22 + 18 * std::sin(x / (47.0 + k * 13)) + 9 * std::sin(x / (13.0 + k * 5));
            if (x == 0)
                trace.moveTo(x, y);
            else
                trace.lineTo(x, y);
        }
        p.setPen(pen(colours[k], 2.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(trace);
    }
    // Title at the right.
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    lettering(p, QRectF(262, 112, 260, 90), QStringLiteral("ORLO"), 72, 6, QColor(255, 255, 255, 200), right);
    lettering(p, QRectF(258, 108, 260, 90), QStringLiteral("ORLO"), 72, 6, QColor(24, 52, 100), right);
    QFont s(QStringLiteral("DejaVu Sans"));
    s.setPixelSize(17);
    s.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(s);
    p.setPen(QColor(60, 84, 124));
    p.drawText(QRectF(218, 192, 300, 30), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Engine & Flight Data Review"));
    p.setPen(QPen(QColor(236, 150, 40), 3));
    p.drawLine(QPointF(330, 230), QPointF(518, 230));
    return img;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        printf("usage: make_images <output folder>\n");
        return 1;
    }
    gOut = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    ok &= writeXpm(fileNew(), "filenew", 1);
    ok &= writeXpm(fileOpen(24), "fileopen", 1);
    ok &= writeXpm(fileSave(), "filesave", 1);
    ok &= writeXpm(fileSaveAs(), "filesaveas", 1);
    ok &= writeXpm(sdCard(), "sdCard", 1);
    ok &= writeXpm(globe(), "googleEarth", 1);
    ok &= writeXpm(csv(), "csv", 1);
    ok &= writeXpm(quit(), "quit", 1);
    ok &= writeXpm(roundBadge(QColor(120, 180, 250), QColor(30, 90, 180), QStringLiteral("i")), "info", 1);
    ok &= writeXpm(roundBadge(QColor(120, 210, 150), QColor(30, 130, 80), QStringLiteral("?")), "help", 1);
    ok &= writeXpm(recordFile(), "canArincTx", 1);
    ok &= writeXpm(device(), "ataChapter", 1);
    ok &= writeXpm(parameter(), "canParameter", 1);
    ok &= writeXpm(dialIcon(16), "canDial", 1);
    ok &= writeXpm(corvaneLogo(), "Corvane_Logo", 2);
    ok &= writeXpm(tamselLogo(), "tamsel_logo", 2);
    ok &= writeXpm(kavo(), "kavo", 2);
    ok &= writeXpm(splash(), "emuMain", 2);
    return ok ? 0 : 1;
}
