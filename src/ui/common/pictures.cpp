#include "ui/common/pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {
const QColor Aqua(0, 255, 255);
const QColor DeepTeal(0, 128, 128);

// A quill in a 100 x 100 box, nib at the bottom left.
void DrawQuill(QPainter &p, const QRectF &box)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 100.0, box.height() / 100.0);
    p.setRenderHint(QPainter::Antialiasing);

    QPainterPath vane;
    vane.moveTo(24, 80);
    vane.cubicTo(18, 52, 44, 16, 94, 3);
    vane.cubicTo(84, 30, 66, 64, 32, 84);
    vane.closeSubpath();
    QLinearGradient fill(20, 85, 90, 5);
    fill.setColorAt(0, QColor(0, 90, 100));
    fill.setColorAt(0.55, QColor(0, 200, 210));
    fill.setColorAt(1, QColor(220, 255, 255));
    p.setPen(QPen(QColor(160, 255, 255), 0.8));
    p.setBrush(fill);
    p.drawPath(vane);

    // Barbs: short strokes across the vane, following its lean.
    p.setPen(QPen(QColor(0, 60, 70, 150), 0.7));
    for (int i = 1; i < 9; ++i)
    {
        const double t = i / 9.0;
        const QPointF onShaft(14 + 76 * t, 92 - 84 * t);
        p.drawLine(onShaft, onShaft + QPointF(-9 + 4 * t, -6 + 2 * t));
        p.drawLine(onShaft, onShaft + QPointF(8 - 3 * t, 3 - t));
    }

    p.setPen(QPen(QColor(235, 255, 255), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 97), QPointF(90, 8));
    QPainterPath nib;
    nib.moveTo(5, 100);
    nib.lineTo(12, 91);
    nib.lineTo(15, 95);
    nib.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    p.drawPath(nib);
    p.restore();
}

QFont TitleFont(int pixelSize)
{
    QFont font("Georgia");
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

QPixmap Blank(int w, int h)
{
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::transparent);
    return pixmap;
}
} // namespace

QPixmap ProgramPicture()
{
    QPixmap pixmap(500, 201);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QRadialGradient glow(QPointF(250, 100), 260);
    glow.setColorAt(0, QColor(0, 48, 56));
    glow.setColorAt(1, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(QRectF(1, 1, 498, 199), 14, 14);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 140, 150), 1.2));
    p.drawRoundedRect(QRectF(1.5, 1.5, 497, 198), 14, 14);

    DrawQuill(p, QRectF(26, 22, 150, 150));

    QLinearGradient titleFill(0, 45, 0, 125);
    titleFill.setColorAt(0, QColor(210, 255, 255));
    titleFill.setColorAt(1, QColor(0, 200, 210));
    p.setFont(TitleFont(76));
    p.setPen(QPen(QBrush(titleFill), 1));
    p.drawText(QRectF(180, 30, 310, 100), Qt::AlignLeft | Qt::AlignVCenter, "Quillex");

    p.setPen(QPen(QColor(0, 170, 180), 1));
    p.drawLine(QPointF(186, 132), QPointF(476, 132));

    QFont sub("DejaVu Sans");
    sub.setStyleHint(QFont::SansSerif);
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(190, 215, 215));
    p.drawText(QRectF(186, 138, 300, 22), Qt::AlignLeft | Qt::AlignVCenter, "COG script editor");
    sub.setPixelSize(12);
    p.setFont(sub);
    p.setPen(QColor(120, 150, 150));
    p.drawText(QRectF(186, 158, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
               "for Jedi Knight and Mysteries of the Sith");
    return pixmap;
}

QPixmap AboutPicture()
{
    QPixmap pixmap(100, 67);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    QRadialGradient glow(QPointF(50, 34), 55);
    glow.setColorAt(0, QColor(0, 60, 70));
    glow.setColorAt(1, Qt::black);
    p.fillRect(pixmap.rect(), glow);
    DrawQuill(p, QRectF(22, 2, 62, 62));
    return pixmap;
}

QPixmap ProgramIconPixmap(int size)
{
    // Drawn on a 64-pixel grid and scaled, so every size shows the same picture.
    QPixmap pixmap = Blank(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 40, 48));
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 12, 12);
    DrawQuill(p, QRectF(6, 4, 54, 56));
    p.end();
    return pixmap;
}

QIcon ProgramIcon()
{
    return QIcon(ProgramIconPixmap(64));
}

QIcon ButtonIcon(const QString &name)
{
    QPixmap pixmap = Blank(20, 20);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(40, 40, 40);
    p.setPen(QPen(ink, 1.2));

    if (name == "open")
    {
        p.setBrush(QColor(240, 200, 90));
        p.drawPolygon(QPolygonF({{2, 5}, {8, 5}, {10, 7}, {17, 7}, {17, 16}, {2, 16}}));
        p.setBrush(QColor(255, 225, 130));
        p.drawPolygon(QPolygonF({{4, 10}, {19, 10}, {17, 16}, {2, 16}}));
    }
    else if (name == "save")
    {
        p.setBrush(QColor(60, 100, 170));
        p.drawRoundedRect(QRectF(2.5, 2.5, 15, 15), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5.5, 2.5, 9, 6));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(5.5, 11.5, 9, 6));
    }
    else if (name == "undo")
    {
        p.setPen(QPen(QColor(30, 90, 160), 2.2, Qt::SolidLine, Qt::RoundCap));
        QPainterPath arc;
        arc.moveTo(5, 8);
        arc.cubicTo(12, 3, 19, 8, 16, 14);
        arc.lineTo(12, 16);
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 160));
        p.drawPolygon(QPolygonF({{2, 8}, {8, 3}, {8, 12}}));
    }
    else if (name == "cut")
    {
        p.drawLine(QPointF(6, 2), QPointF(12, 13));
        p.drawLine(QPointF(14, 2), QPointF(8, 13));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(170, 30, 30), 1.6));
        p.drawEllipse(QPointF(6.5, 15.5), 3, 3);
        p.drawEllipse(QPointF(13.5, 15.5), 3, 3);
    }
    else if (name == "copy")
    {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 2.5, 10, 12));
        p.drawRect(QRectF(7.5, 5.5, 10, 12));
        p.setPen(QPen(QColor(120, 120, 120), 1));
        for (double y = 9; y <= 14.5; y += 2.5)
            p.drawLine(QPointF(9.5, y), QPointF(15.5, y));
    }
    else if (name == "paste")
    {
        p.setBrush(QColor(190, 140, 80));
        p.drawRoundedRect(QRectF(3.5, 3.5, 13, 15), 1.5, 1.5);
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(7, 2, 6, 3));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 7.5, 8, 9));
    }
    else if (name == "tabs")
    {
        p.setPen(QPen(QColor(30, 90, 160), 1.6));
        p.drawLine(QPointF(3, 4), QPointF(3, 16));
        p.drawLine(QPointF(5, 10), QPointF(15, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 160));
        p.drawPolygon(QPolygonF({{17, 10}, {12, 6}, {12, 14}}));
    }
    else if (name == "linebuilder")
    {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 15, 13));
        p.setPen(QPen(DeepTeal, 1.6));
        p.drawLine(QPointF(5, 7.5), QPointF(15, 7.5));
        p.drawLine(QPointF(5, 10.5), QPointF(12, 10.5));
        p.drawLine(QPointF(5, 13.5), QPointF(14, 13.5));
    }
    else if (name == "check")
    {
        p.setPen(QPen(QColor(20, 140, 40), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({{3, 10}, {8, 15}, {17, 4}}));
    }
    else if (name == "sort")
    {
        p.setPen(QPen(ink, 1.6));
        p.drawLine(QPointF(3, 5), QPointF(9, 5));
        p.drawLine(QPointF(3, 10), QPointF(9, 10));
        p.drawLine(QPointF(3, 15), QPointF(9, 15));
        p.drawLine(QPointF(12, 5), QPointF(17, 5));
        p.drawLine(QPointF(12, 10), QPointF(17, 10));
        p.drawLine(QPointF(12, 15), QPointF(17, 15));
    }
    p.end();
    return QIcon(pixmap);
}
