#include "platform/qt/DialogMetrics.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QString>

#include <cstdlib>
#include <map>
#include <utility>

namespace {

// Faces in order of preference, each with a tightening of its letter spacing in pixels. The
// classic face is narrow in lower case, which most dialog texts are; a scalable face of the same
// height is wider there, and the templates' tightest labels ("Directories:" in 36 units) would be
// clipped. DejaVu Sans Condensed at 11 pixels, 0.3 pixel tighter, measures exactly 6 x 13 and
// fits every text of the program's templates; Liberation Sans (metrics of the common Windows sans
// face) comes next at 6 x 12.
struct Face {
    const char* family;
    qreal letterSpacing;
};
const Face kSansFaces[] = {
    {"DejaVu Sans Condensed", -0.3}, {"Liberation Sans", -0.3}, {"DejaVu Sans", -0.4}, {"Nimbus Sans", -0.3}};

bool IsClassicDialogFace(const QString& name) {
    return name.isEmpty() || name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("MS Shell Dlg"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("MS Shell Dlg 2"), Qt::CaseInsensitive) == 0;
}

// Points at the 96 dots per inch the templates were designed for.
int PixelsForPoints(int points) {
    return MulDiv(points, 96, 72);
}

QFont SizedFont(const QString& family, int pixels, qreal letterSpacing = 0) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setStyleHint(QFont::SansSerif);
    if (letterSpacing != 0)
        font.setLetterSpacing(QFont::AbsoluteSpacing, letterSpacing);
    return font;
}

DialogMetrics ChooseClassicFace(int pointSize) {
    // The classic face's base units at 8 points, scaled for other sizes.
    const int wantX = MulDiv(6, pointSize, 8);
    const int wantY = MulDiv(13, pointSize, 8);
    const int pixels = PixelsForPoints(pointSize);
    DialogMetrics best = MeasureDialogFont(SizedFont(QStringLiteral("sans-serif"), pixels));
    int bestDistance = std::abs(best.baseX - wantX) * 2 + std::abs(best.baseY - wantY);
    for (const Face& face : kSansFaces) {
        QString family = QString::fromLatin1(face.family);
        if (!QFontDatabase::hasFamily(family))
            continue;
        DialogMetrics candidate = MeasureDialogFont(SizedFont(family, pixels, face.letterSpacing));
        // Width counts double: text that is too wide is clipped, a line that is too tall is not.
        int distance = std::abs(candidate.baseX - wantX) * 2 + std::abs(candidate.baseY - wantY);
        if (distance == 0)
            return candidate;
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    long long remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c)))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(quotient);
}

int DialogMetrics::X(int dialogUnits) const {
    return MulDiv(dialogUnits, baseX, 4);
}

int DialogMetrics::Y(int dialogUnits) const {
    return MulDiv(dialogUnits, baseY, 8);
}

QRect DialogMetrics::Rect(int x, int y, int cx, int cy) const {
    return QRect(X(x), Y(y), X(cx), Y(cy));
}

DialogMetrics MeasureDialogFont(const QFont& font) {
    QFontMetrics metrics(font);
    int extent =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogMetrics result;
    result.font = font;
    result.baseX = (extent / 26 + 1) / 2;
    result.baseY = metrics.height();
    return result;
}

DialogMetrics DialogMetricsFor(const char* fontName, int pointSize) {
    // Every template of the program names the same font, so the measurement is made once per size.
    static std::map<std::pair<QString, int>, DialogMetrics> cache;
    QString name = QString::fromUtf8(fontName ? fontName : "");
    if (pointSize <= 0)
        pointSize = 8;
    auto key = std::make_pair(name, pointSize);
    if (auto it = cache.find(key); it != cache.end())
        return it->second;
    DialogMetrics metrics = IsClassicDialogFace(name)
                                ? ChooseClassicFace(pointSize)
                                : MeasureDialogFont(SizedFont(name, PixelsForPoints(pointSize)));
    cache.emplace(key, metrics);
    return metrics;
}
