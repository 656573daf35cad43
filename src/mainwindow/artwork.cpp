#include "mainwindow/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace kx::mainwindow {
namespace {

const QColor kBrandRed(192, 0, 0);

}  // namespace

QPixmap productLogo(QSize size)
{
    QPixmap logo(size);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    const int h = size.height();
    const QRectF mark(h * 0.1, h * 0.1, h * 0.8, h * 0.8);
    QLinearGradient shade(mark.topLeft(), mark.bottomRight());
    shade.setColorAt(0, kBrandRed.lighter(140));
    shade.setColorAt(1, kBrandRed);
    painter.setBrush(shade);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(mark, h * 0.15, h * 0.15);
    QFont letter(QStringLiteral("Arial"));
    letter.setBold(true);
    letter.setPixelSize(qRound(h * 0.5));
    painter.setFont(letter);
    painter.setPen(Qt::white);
    painter.drawText(mark, Qt::AlignCenter, QStringLiteral("K"));

    const QRectF words(h * 1.05, 0, size.width() - h * 1.05, h);
    QFont name(QStringLiteral("Arial"));
    name.setBold(true);
    name.setPixelSize(qRound(h * 0.38));
    painter.setFont(name);
    painter.setPen(kBrandRed);
    painter.drawText(words.adjusted(0, h * 0.08, 0, -h * 0.5), Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("Korvendal XL"));
    QFont tagline(QStringLiteral("Verdana"));
    tagline.setPixelSize(qRound(h * 0.2));
    painter.setFont(tagline);
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(words.adjusted(0, h * 0.55, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("Excel to PDF Converter"));
    return logo;
}

QIcon badgeIcon(QChar symbol, QColor colour)
{
    QPixmap badge(64, 64);
    badge.fill(Qt::transparent);
    QPainter painter(&badge);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(QPen(colour.darker(130), 2));
    painter.drawEllipse(QRectF(3, 3, 58, 58));
    QFont glyph(QStringLiteral("DejaVu Sans"));
    glyph.setBold(true);
    glyph.setPixelSize(34);
    painter.setFont(glyph);
    painter.setPen(Qt::white);
    painter.drawText(badge.rect(), Qt::AlignCenter, QString(symbol));
    return QIcon(badge);
}

QIcon programIcon() { return QIcon(productLogo(QSize(48, 48)).copy(0, 0, 48, 48)); }

}  // namespace kx::mainwindow
