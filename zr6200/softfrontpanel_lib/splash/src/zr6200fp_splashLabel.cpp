#include "splash/zr6200fp_splashLabel.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <cstdio>

#include "core/zr6200fp_cardModels.h"

namespace {
// Where the background keeps its device area and its text column.
constexpr int kLeftBand = 67;
constexpr int kTopBand = 38;
constexpr int kDeviceWidth = 453;
constexpr int kDeviceHeight = 199;
constexpr int kTextTop = 236;
constexpr int kHeight = 400;

QFont boldFont(const QFont &base, int pointSize)
{
    QFont f(base);
    f.setBold(true);
    f.setPointSize(pointSize);
    return f;
}

// The title, the description below it and the bottom line, in the text
// column between the margins.
void drawTexts(QPainter &painter, float scale, int margin, const QString &numberString, const QString &bottomText,
               const QString &middleText)
{
    const QFont base = painter.font();
    const QFont fontA = boldFont(base, int(18.0 * double(scale)));
    const QFont fontB = boldFont(base, int(12.0 * double(scale)));
    const QFont fontC = boldFont(base, 8);
    const int hA = QFontMetrics(fontA).height();
    const int hC = QFontMetrics(fontC).height();
    const int left = margin + kLeftBand;
    const int width = kDeviceWidth - 2 * margin;

    painter.setFont(fontA);
    painter.drawText(QRect(left, kTextTop + hA / 2, width, hA), Qt::AlignCenter,
                     QStringLiteral("Tervix %1").arg(numberString));
    painter.setFont(fontB);
    painter.drawText(QRect(left, kTextTop + 2 * hA, width, 164 - 2 * hA - 3 * hC),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, middleText);
    painter.setFont(fontC);
    painter.drawText(QRect(left, kHeight - 2 * hC, width, hC), Qt::AlignCenter, bottomText);
}

// The instrument's device picture over the device area: a whole 520 x 400
// splash of its own (.bmp), else a 452 x 194 picture (.png); any other size
// is reported and left out. Drawn only when the painter is active.
void drawDevice(QPainter &painter, const QString &numberString)
{
    const QPixmap device(QStringLiteral(":/zr%1fp_splash.bmp").arg(numberString));
    if (device.width() == 520 && device.height() == 400) {
        if (painter.isActive())
            painter.drawPixmap(QRect(kLeftBand, kTopBand, kDeviceWidth, kDeviceHeight), device,
                               QRect(kLeftBand, kTopBand, kDeviceWidth, kDeviceHeight));
        return;
    }
    const QPixmap alternative(QStringLiteral(":/zr%1fp_splash.png").arg(numberString));
    if (alternative.width() == 452 && alternative.height() == 194) {
        if (painter.isActive())
            painter.drawPixmap(kLeftBand, 43, alternative);
        return;
    }
    std::fputs("The size of the image of the device, that is to be used in the splash screen, is not as "
               "required!!!\n",
               stdout);
    std::fflush(stdout);
}
} // namespace

zr6200fp_splashLabel::zr6200fp_splashLabel(float scale, int margin, int number, bool hex, const QString &bottomText,
                                           const QString &middleText)
{
    load(QStringLiteral(":/fp_splash.png"));
    // "%1" of the title and the device picture names.
    const QString numberString = zr6200fp_cardModels::modelText(number, hex ? 16 : 10);
    // Without the background there is nothing to paint on.
    QPainter painter;
    if (!isNull())
        painter.begin(this);
    if (painter.isActive())
        drawTexts(painter, scale, margin, numberString, bottomText, middleText);
    drawDevice(painter, numberString);
    if (painter.isActive())
        painter.end();
}
