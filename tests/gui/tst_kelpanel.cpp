// The caption panel: where its band and lines fall, its bevels, the decoration passes of each text
// style as drawn, rotation offsets and bounding boxes, angle normalisation, blinking, repainting
// only on change, and the mouse notifications.
#include "Kelpanel.h"
#include "Pixels.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <climits>
#include <functional>

namespace {

// Distinct colours for every system colour the panel draws with, so a probe names its pass.
const QColor kShadow(255, 0, 0);    // clBtnShadow
const QColor kHighlight(0, 0, 255); // clBtnHighlight
const QColor kGrayText(0, 160, 0);  // clGrayText
const QColor kShadowColor(255, 0, 255);
const QColor kBack(Qt::white);
const QColor kText(Qt::black);

QPalette ProbePalette() {
    QPalette pal;
    pal.setColor(QPalette::Dark, kShadow);
    pal.setColor(QPalette::Light, kHighlight);
    pal.setColor(QPalette::Disabled, QPalette::WindowText, kGrayText);
    return pal;
}

// A panel drawn black on white, plain, without bevel, in a face that is installed.
void Plain(TKelPanel& panel, const QFont& font, QSize size) {
    panel.setPalette(ProbePalette());
    panel.setBevelOuter(bvNone);
    panel.setTextStyle(tsNone);
    panel.setColor(kBack);
    panel.SetFont(font, kText);
    panel.resize(size);
}

// The bounding box of pixels of exactly this colour.
QRect BoxOf(const QImage& img, const QColor& color) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == color.rgb()) box |= QRect(x, y, 1, 1);
    return box;
}

// The pixel height of a DejaVu Sans font whose line height is h, or 0.
int PixelsForHeight(int h) {
    for (int px = 4; px < 40; ++px)
        if (QFontMetrics(DejaVu(px)).height() == h) return px;
    return 0;
}

// Counts its own paint events.
class CountingPanel : public TKelPanel {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        TKelPanel::paintEvent(event);
    }
};

} // namespace

class TestKelPanel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void bandLayout_data();
    void bandLayout();
    void threeLinesStackAtTheLineHeight();
    void trailingSeparatorLiftsTheLines();
    void bevels_data();
    void bevels();
    void styles_data();
    void styles();
    void mnemonicsAndTabs();
    void angleLayout_data();
    void angleLayout();
    void calcTextPos();
    void rotationDirection_data();
    void rotationDirection();
    void rotatedTextIsOneLiteralLine();
    void textAngleNormalisation_data();
    void textAngleNormalisation();
    void repaintsOnlyOnChange();
    void blinking();
    void mouseEnterAndLeave();
    void defaults();
};

void TestKelPanel::initTestCase() {
    if (!QFontInfo(DejaVu(12)).family().contains(QStringLiteral("DejaVu")))
        QSKIP("DejaVu Sans is not installed");
}

void TestKelPanel::bandLayout_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("outer"); // bevel kinds
    QTest::addColumn<int>("inner");
    QTest::addColumn<int>("bevelWidth");
    QTest::addColumn<int>("border");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("band"); // in line heights h = 13, panel 100 wide

    QTest::newRow("three lines") << 60 << 0 << 0 << 1 << 0 << "A|B|C" << QRect(0, 10, 100, 39);
    QTest::newRow("empty caption is one line")
        << 60 << 0 << 0 << 1 << 0 << "" << QRect(0, 23, 100, 13);
    QTest::newRow("trailing separator counts")
        << 60 << 0 << 0 << 1 << 0 << "A|" << QRect(0, 17, 100, 26);
    QTest::newRow("odd space rounds down")
        << 61 << 0 << 0 << 1 << 0 << "A" << QRect(0, 24, 100, 13);
    QTest::newRow("bevels and border inset")
        << 60 << int(bvRaised) << int(bvLowered) << 2 << 3 << "A" << QRect(7, 23, 86, 13);
    QTest::newRow("outer bevel only")
        << 60 << int(bvSpace) << 0 << 4 << 0 << "A|B" << QRect(4, 17, 92, 26);
    // (0 + 20 - 39) / 2 truncates toward zero: -9, not -10.
    QTest::newRow("band taller than the panel")
        << 20 << 0 << 0 << 1 << 0 << "A|B|C" << QRect(0, -9, 100, 39);
    QTest::newRow("negative widths draw nothing")
        << 60 << int(bvRaised) << 0 << -5 << -5 << "A" << QRect(0, 23, 100, 13);
}

void TestKelPanel::bandLayout() {
    QFETCH(int, height);
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(int, bevelWidth);
    QFETCH(int, border);
    QFETCH(QString, caption);
    QFETCH(QRect, band);
    const int px = PixelsForHeight(13);
    if (!px) QSKIP("no DejaVu Sans size with a 13-pixel line");

    TKelPanel panel;
    Plain(panel, DejaVu(px), QSize(100, height));
    panel.setBevelOuter(TBevelCut(outer));
    panel.setBevelInner(TBevelCut(inner));
    panel.setBevelWidth(bevelWidth);
    panel.setBorderWidth(border);
    panel.setCaption(caption);
    QCOMPARE(panel.TextHeight(), 13);
    QCOMPARE(panel.TextRect(), band);
}

void TestKelPanel::threeLinesStackAtTheLineHeight() {
    const int px = PixelsForHeight(13);
    if (!px) QSKIP("no DejaVu Sans size with a 13-pixel line");
    TKelPanel panel;
    Plain(panel, DejaVu(px), QSize(100, 60));
    panel.setCaption(QStringLiteral("W|W|W"));

    // Band top 10, bottom 49: the lines start at 10, 23 and 36, each within its own line.
    const QList<QPair<int, int>> rows = InkRows(Render(panel));
    QCOMPARE(rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(rows[i].first >= 10 + 13 * i && rows[i].second < 23 + 13 * i,
                 qPrintable(QStringLiteral("line %1 inked rows %2..%3")
                                .arg(i)
                                .arg(rows[i].first)
                                .arg(rows[i].second)));
        // The same letter on every line: its ink moves down by exactly one line height.
        if (i > 0) QCOMPARE(rows[i].first - rows[i - 1].first, 13);
    }
}

void TestKelPanel::trailingSeparatorLiftsTheLines() {
    TKelPanel panel;
    Plain(panel, DejaVu(20), QSize(120, 100));
    const int h = QFontMetrics(panel.font()).height();
    panel.setCaption(QStringLiteral("W"));
    const QList<QPair<int, int>> alone = InkRows(Render(panel));
    panel.setCaption(QStringLiteral("W|"));
    const QList<QPair<int, int>> lifted = InkRows(Render(panel));
    QCOMPARE(alone.size(), 1);
    QCOMPARE(lifted.size(), 1);
    // The empty line after the separator takes its half of the band: half a line higher.
    QCOMPARE(alone[0].first - lifted[0].first, (100 - h) / 2 - (100 - 2 * h) / 2);
    QVERIFY(lifted[0].second < 50);
}

void TestKelPanel::bevels_data() {
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");
    QTest::addColumn<int>("border");
    // Probes on the middle row, from the left edge: the colour at x = 0, 1, 2, ...
    QTest::addColumn<QList<QColor>>("fromLeft");
    QTest::addColumn<QList<QColor>>("fromRight");

    QTest::newRow("raised") << int(bvRaised) << 0 << 0
                            << QList<QColor>{kHighlight, kHighlight, kBack}
                            << QList<QColor>{kShadow, kShadow, kBack};
    QTest::newRow("space looks raised")
        << int(bvSpace) << 0 << 0 << QList<QColor>{kHighlight, kHighlight, kBack}
        << QList<QColor>{kShadow, kShadow, kBack};
    QTest::newRow("lowered") << int(bvLowered) << 0 << 0 << QList<QColor>{kShadow, kShadow, kBack}
                             << QList<QColor>{kHighlight, kHighlight, kBack};
    QTest::newRow("border in the background, then inner bevel")
        << int(bvRaised) << int(bvLowered) << 1
        << QList<QColor>{kHighlight, kHighlight, kBack, kShadow, kShadow, kBack}
        << QList<QColor>{kShadow, kShadow, kBack, kHighlight, kHighlight, kBack};
    QTest::newRow("no bevel") << 0 << 0 << 0 << QList<QColor>{kBack} << QList<QColor>{kBack};
}

void TestKelPanel::bevels() {
    QFETCH(int, outer);
    QFETCH(int, inner);
    QFETCH(int, border);
    QFETCH(QList<QColor>, fromLeft);
    QFETCH(QList<QColor>, fromRight);
    TKelPanel panel;
    Plain(panel, DejaVu(12), QSize(80, 40));
    panel.setBevelOuter(TBevelCut(outer));
    panel.setBevelInner(TBevelCut(inner));
    panel.setBevelWidth(2);
    panel.setBorderWidth(border);
    const QImage img = Render(panel);
    for (int i = 0; i < fromLeft.size(); ++i) {
        QCOMPARE(QColor(img.pixel(i, 20)), fromLeft[i]); // left edge: top colour
        QCOMPARE(QColor(img.pixel(40, i)), fromLeft[i]); // top edge: top colour
    }
    for (int i = 0; i < fromRight.size(); ++i) {
        QCOMPARE(QColor(img.pixel(79 - i, 20)), fromRight[i]);
        QCOMPARE(QColor(img.pixel(40, 39 - i)), fromRight[i]);
    }
}

void TestKelPanel::styles_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("path");
    QTest::addColumn<bool>("enabled");
    // What lies just outside the text, on the middle row or column, on each side.
    QTest::addColumn<QColor>("left");
    QTest::addColumn<QColor>("right");
    QTest::addColumn<QColor>("above");
    QTest::addColumn<QColor>("below");

    QTest::newRow("none") << int(tsNone) << int(spRightDown) << true << kBack << kBack << kBack
                          << kBack;
    QTest::newRow("raised") << int(tsRaised) << int(spRightDown) << true << kHighlight << kShadow
                            << kHighlight << kShadow;
    QTest::newRow("recessed") << int(tsRecesed) << int(spRightDown) << true << kShadow << kHighlight
                              << kShadow << kHighlight;
    QTest::newRow("shadow right down") << int(tsShadow) << int(spRightDown) << true << kBack
                                       << kShadowColor << kBack << kShadowColor;
    QTest::newRow("shadow left up")
        << int(tsShadow) << int(spLeftUp) << true << kShadowColor << kBack << kShadowColor << kBack;
    QTest::newRow("shadow left down") << int(tsShadow) << int(spLeftDown) << true << kShadowColor
                                      << kBack << kBack << kShadowColor;
    QTest::newRow("shadow right up") << int(tsShadow) << int(spRightUp) << true << kBack
                                     << kShadowColor << kShadowColor << kBack;
    // Disabled: only the text itself turns grey; the embossing keeps its colours.
    QTest::newRow("raised, disabled") << int(tsRaised) << int(spRightDown) << false << kHighlight
                                      << kShadow << kHighlight << kShadow;
}

void TestKelPanel::styles() {
    QFETCH(int, style);
    QFETCH(int, path);
    QFETCH(bool, enabled);
    QFETCH(QColor, left);
    QFETCH(QColor, right);
    QFETCH(QColor, above);
    QFETCH(QColor, below);

    // A full block glyph is solid, so the passes around it are plain to probe.
    const QString block(QChar(0x2588));
    TKelPanel panel;
    Plain(panel, DejaVu(40), QSize(120, 80));
    if (!QFontMetrics(panel.font()).inFont(block[0])) QSKIP("no full block glyph");
    panel.setCaption(block);
    panel.setTextStyle(TTextStyleType(style));
    panel.setShadowPath(TShadowPathType(path));
    panel.setShadowColor(kShadowColor);
    panel.setShadowDepth(4);
    panel.setEnabled(enabled);

    const QColor text = enabled ? kText : kGrayText;
    const QImage img = Render(panel);
    const QRect box = BoxOf(img, text);
    QVERIFY2(box.width() > 10 && box.height() > 20, "the text is drawn in its own colour");
    const QPoint mid = box.center();
    // The text lies on top of every pass.
    QCOMPARE(QColor(img.pixel(mid)), text);
    QCOMPARE(QColor(img.pixel(box.left() - 2, mid.y())), left);
    QCOMPARE(QColor(img.pixel(box.right() + 2, mid.y())), right);
    QCOMPARE(QColor(img.pixel(mid.x(), box.top() - 2)), above);
    QCOMPARE(QColor(img.pixel(mid.x(), box.bottom() + 2)), below);
    // Nothing beyond the depth.
    QCOMPARE(QColor(img.pixel(box.left() - 7, mid.y())), kBack);
    QCOMPARE(QColor(img.pixel(box.right() + 7, mid.y())), kBack);
}

void TestKelPanel::mnemonicsAndTabs() {
    TKelPanel panel;
    Plain(panel, DejaVu(20), QSize(300, 40));
    panel.setAlignment(Qt::AlignLeft);
    const auto inkBox = [&](const QString& caption) {
        panel.setCaption(caption);
        return BoxOf(Render(panel), kText);
    };
    const QRect plain = inkBox(QStringLiteral("ab"));
    const QRect marked = inkBox(QStringLiteral("a&b"));
    const QRect doubled = inkBox(QStringLiteral("a&&b"));
    const QRect tabbed = inkBox(QStringLiteral("a\tb"));
    // "&" is not drawn: same width, but the "b" is underlined below the letters.
    QCOMPARE(marked.left(), plain.left());
    QVERIFY(qAbs(marked.right() - plain.right()) <= 1);
    QVERIFY(marked.bottom() > plain.bottom());
    // "&&" draws one "&".
    QVERIFY(doubled.right() > plain.right() + 5);
    QCOMPARE(doubled.bottom(), plain.bottom());
    // A tab reaches the first stop, eight average characters in.
    QVERIFY(tabbed.right() > plain.right() + 4 * QFontMetrics(panel.font()).averageCharWidth());
}

void TestKelPanel::angleLayout_data() {
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    // Text 100 wide and 21 high. The offset brings the rotated box's top-left corner to the
    // rectangle's; a sum is truncated once (135: 14.85 + 70.71 gives 85, not 84). The box adds
    // terms truncated one by one (45: 70 + 14, though the true box is 85.6 wide).
    QTest::newRow("0") << 0 << 0 << 0 << 100 << 21;
    QTest::newRow("10") << 10 << 0 << 17 << 101 << 37;
    QTest::newRow("45") << 45 << 0 << 70 << 84 << 84;
    QTest::newRow("90") << 90 << 0 << 100 << 21 << 100;
    QTest::newRow("100") << 100 << 17 << 102 << 37 << 101;
    QTest::newRow("135") << 135 << 70 << 85 << 84 << 84;
    QTest::newRow("180") << 180 << 100 << 21 << 100 << 21;
    QTest::newRow("200") << 200 << 101 << 19 << 100 << 53;
    QTest::newRow("225") << 225 << 85 << 14 << 84 << 84;
    QTest::newRow("270") << 270 << 21 << 0 << 21 << 100;
    QTest::newRow("315") << 315 << 14 << 0 << 84 << 84;
    QTest::newRow("350") << 350 << 3 << 0 << 101 << 37;
    QTest::newRow("360") << 360 << 0 << 0 << 100 << 21;
}

void TestKelPanel::angleLayout() {
    QFETCH(int, angle);
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(int, width);
    QFETCH(int, height);
    const TAngleLayout box = AngleLayout(angle, 100, 21);
    QCOMPARE(box.dx, dx);
    QCOMPARE(box.dy, dy);
    QCOMPARE(box.width, width);
    QCOMPARE(box.height, height);
}

void TestKelPanel::calcTextPos() {
    TKelPanel panel;
    Plain(panel, DejaVu(16), QSize(300, 200));
    const QFontMetrics fm(panel.font());
    const int cx = fm.horizontalAdvance(QStringLiteral("Caption text"));
    const int cy = fm.height();
    // A line feed is measured as a space: the rotated caption is one line.
    const QString text = QStringLiteral("Caption\ntext");

    const auto place = [&](Qt::Alignment align) {
        panel.setAlignment(align);
        QRect r(5, 7, 50, 50);
        panel.CalcTextPos(r, 90, text);
        return r.topLeft();
    };
    QCOMPARE(place(Qt::AlignLeft), QPoint(5, 7 + cx));
    QCOMPARE(place(Qt::AlignHCenter), QPoint(5 + (300 - cy) / 2, 7 + cx));
    QCOMPARE(place(Qt::AlignRight), QPoint(5 + 300 - cy, 7 + cx));
    QCOMPARE(panel.size(), QSize(300, 200));

    // AutoSize takes the rotated box: the centring then adds nothing.
    panel.setAutoSize(true);
    QCOMPARE(place(Qt::AlignHCenter), QPoint(5, 7 + cx));
    QCOMPARE(panel.size(), QSize(cy, cx));
}

void TestKelPanel::rotationDirection_data() {
    QTest::addColumn<int>("angle");
    QTest::addColumn<QString>("where"); // of the block, the first character, in the panel
    // Counter-clockwise: at 90 the text reads upward, so it starts at the bottom.
    QTest::newRow("90") << 90 << "bottom";
    QTest::newRow("180") << 180 << "right";
    QTest::newRow("270") << 270 << "top";
    QTest::newRow("360") << 360 << "left";
}

void TestKelPanel::rotationDirection() {
    QFETCH(int, angle);
    QFETCH(QString, where);
    const QString text = QString(QChar(0x2588)) + QStringLiteral("      ");
    TKelPanel panel;
    Plain(panel, DejaVu(30), QSize(300, 300));
    if (!QFontMetrics(panel.font()).inFont(text[0])) QSKIP("no full block glyph");
    panel.setAutoSize(true);
    panel.setCaption(text);
    panel.setTextAngle(angle);
    const QImage img = Render(panel);
    const QRect box = BoxOf(img, kText);
    QVERIFY(!box.isEmpty());
    const QRect all = img.rect();
    if (angle == 90 || angle == 270)
        QVERIFY(all.height() > 2 * all.width());
    else
        QVERIFY(all.width() > 2 * all.height());
    const QPoint c = box.center();
    if (where == "bottom") QVERIFY(c.y() > all.height() * 2 / 3);
    if (where == "top") QVERIFY(c.y() < all.height() / 3);
    if (where == "right") QVERIFY(c.x() > all.width() * 2 / 3);
    if (where == "left") QVERIFY(c.x() < all.width() / 3);
}

void TestKelPanel::rotatedTextIsOneLiteralLine() {
    TKelPanel panel;
    Plain(panel, DejaVu(20), QSize(300, 120));
    panel.setAlignment(Qt::AlignLeft);
    panel.setCaption(QStringLiteral("W&&W|W"));
    const QImage flat = Render(panel);
    // 360 is stored as 360, so the caption takes the rotated road, which draws one line.
    panel.setTextAngle(360);
    QCOMPARE(panel.TextAngle(), 360);
    const QImage turned = Render(panel);
    QCOMPARE(InkRows(flat).size(), 2);
    QCOMPARE(InkRows(turned).size(), 1);
    // Rotated, both "&" are drawn and the lines join: wider than "W&W" by half at least.
    QVERIFY(BoxOf(turned, kText).width() > BoxOf(flat, kText).width() * 3 / 2);
}

void TestKelPanel::textAngleNormalisation_data() {
    QTest::addColumn<int>("angle");
    QTest::addColumn<int>("stored");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("-1") << -1 << 359;
    QTest::newRow("-90") << -90 << 270;
    QTest::newRow("-360") << -360 << 0;
    QTest::newRow("-361") << -361 << 359;
    QTest::newRow("-720") << -720 << 0;
    QTest::newRow("90") << 90 << 90;
    QTest::newRow("360 stays") << 360 << 360;
    QTest::newRow("361") << 361 << 1;
    QTest::newRow("450") << 450 << 90;
    QTest::newRow("720") << 720 << 360;
    QTest::newRow("int max") << INT_MAX << 127;
    QTest::newRow("int min") << INT_MIN << 232;
}

void TestKelPanel::textAngleNormalisation() {
    QFETCH(int, angle);
    QFETCH(int, stored);
    TKelPanel panel;
    panel.setTextAngle(angle);
    QCOMPARE(panel.TextAngle(), stored);
}

void TestKelPanel::repaintsOnlyOnChange() {
    CountingPanel panel;
    panel.resize(100, 40);
    panel.setShadowColor(QColor(1, 2, 3));
    panel.setColor(Qt::white);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));

    const struct {
        const char* name;
        std::function<void()> same;
        std::function<void()> differ;
    } setters[] = {
        {"TextStyle", [&] { panel.setTextStyle(tsShadow); }, [&] { panel.setTextStyle(tsRaised); }},
        {"ShadowPath", [&] { panel.setShadowPath(spRightDown); },
         [&] { panel.setShadowPath(spLeftUp); }},
        {"ShadowColor", [&] { panel.setShadowColor(QColor(1, 2, 3)); },
         [&] { panel.setShadowColor(QColor(4, 5, 6)); }},
        {"ShadowDepth", [&] { panel.setShadowDepth(1); }, [&] { panel.setShadowDepth(3); }},
        {"TextAngle", [&] { panel.setTextAngle(0); }, [&] { panel.setTextAngle(-1); }},
        // -1 stored 359; asking for 359 again is no change.
        {"TextAngle again", [&] { panel.setTextAngle(359); }, [&] { panel.setTextAngle(0); }},
        {"Blink and its rate", [&] { panel.setBlinkStatus(false); },
         [&] { panel.setBlinkRate(100000); }},
        {"Caption", [&] { panel.setCaption(QString()); }, [&] { panel.setCaption("a|b"); }},
        {"Color", [&] { panel.setColor(Qt::white); }, [&] { panel.setColor(Qt::black); }},
        {"BevelOuter", [&] { panel.setBevelOuter(bvRaised); },
         [&] { panel.setBevelOuter(bvLowered); }},
        {"BorderWidth", [&] { panel.setBorderWidth(0); }, [&] { panel.setBorderWidth(2); }},
    };
    for (const auto& s : setters) {
        QCoreApplication::processEvents();
        panel.paints = 0;
        s.same();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        QVERIFY2(panel.paints == 0, s.name);
        s.differ();
        QTRY_VERIFY2(panel.paints > 0, s.name);
    }
}

void TestKelPanel::blinking() {
    TKelPanel panel;
    panel.resize(50, 20);
    panel.show();
    QVERIFY(panel.findChildren<QTimer*>().isEmpty());

    panel.setBlinkRate(20);
    panel.setBlinkStatus(true);
    QCOMPARE(panel.findChildren<QTimer*>().size(), 1);
    QTRY_VERIFY(panel.isHidden());
    QTRY_VERIFY(!panel.isHidden());
    // Turned off in the hidden phase, the panel stays hidden and the timer goes.
    QTRY_VERIFY(panel.isHidden());
    panel.setBlinkStatus(false);
    QVERIFY(panel.findChildren<QTimer*>().isEmpty());
    QTest::qWait(60);
    QVERIFY(panel.isHidden());

    // A rate of 0 never ticks.
    panel.show();
    panel.setBlinkRate(0);
    panel.setBlinkStatus(true);
    QTest::qWait(60);
    QVERIFY(!panel.isHidden());
    // A new rate reaches the running timer.
    panel.setBlinkRate(20);
    QTRY_VERIFY(panel.isHidden());
    panel.setBlinkStatus(false);
}

void TestKelPanel::mouseEnterAndLeave() {
    TKelPanel panel;
    QSignalSpy entered(&panel, &TKelTextControl::mouseEntered);
    QSignalSpy left(&panel, &TKelTextControl::mouseLeft);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&panel, &enter);
    QCOMPARE(entered.size(), 1);
    QCOMPARE(left.size(), 0);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&panel, &leave);
    QCOMPARE(left.size(), 1);
}

void TestKelPanel::defaults() {
    TKelPanel panel;
    QCOMPARE(panel.TextStyle(), tsShadow);
    QCOMPARE(panel.ShadowPath(), spRightDown);
    QCOMPARE(panel.ShadowColorValue(), clBtnShadow);
    QCOMPARE(panel.ShadowDepth(), 1);
    QCOMPARE(panel.Blink(), false);
    QCOMPARE(panel.BlinkRate(), 250);
    QCOMPARE(panel.TextAngle(), 0);
    QCOMPARE(panel.TextHeight(), 0);
    QCOMPARE(panel.Alignment(), Qt::Alignment(Qt::AlignHCenter));
    QCOMPARE(panel.BevelOuter(), bvRaised);
    QCOMPARE(panel.BevelInner(), bvNone);
    QCOMPARE(panel.ColorValue(), clBtnFace);
    QCOMPARE(panel.FontColorValue(), clWindowText);
    QCOMPARE(TKelPanel::countDelimiter(QStringLiteral("|"), QStringLiteral("a|b||")), 3);
    // A Big5 character with "|" as its second byte is one character once decoded.
    QCOMPARE(TKelPanel::countDelimiter(QStringLiteral("|"), QString::fromUtf8("四|弋")), 1);
}

QTEST_MAIN(TestKelPanel)
#include "tst_kelpanel.moc"
