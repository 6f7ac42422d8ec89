// The styled label: the title-bar look, transparency, text from the top, word wrapping, its own
// sizing and the click that enters a pane.
#include "Kellabel.h"
#include "Pixels.h"

#include <QFontInfo>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Small anti-aliased label text is lighter than a panel's: a stricter ink threshold.
constexpr int kInk = 100;

QRect BoxOf(const QImage& img, const QColor& color) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == color.rgb()) box |= QRect(x, y, 1, 1);
    return box;
}

// The bounding box of dark pixels: anti-aliased small text has few of exactly its colour.
QRect InkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Dark(img.pixel(x, y), kInk)) box |= QRect(x, y, 1, 1);
    return box;
}

const QColor kGrey(0x80, 0x80, 0x80);

// Black on white, plain, sized by hand.
void Plain(TKelLabel& label, int pixels, QSize size) {
    label.setAutoSize(false);
    label.setFont(DejaVu(pixels));
    label.setTextStyle(tsNone);
    label.setColor(Qt::white);
    label.setFontColor(Qt::black);
    label.resize(size);
}

} // namespace

class TestKelLabel : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void titleBarShadow();
    void transparency();
    void linesStartAtTheTop();
    void wordWrap();
    void autoSize();
    void rotatedPlacementFollowsAlignment();
    void clickAndHover();
    void defaults();
};

void TestKelLabel::initTestCase() {
    if (!QFontInfo(DejaVu(12)).family().contains(QStringLiteral("DejaVu")))
        QSKIP("DejaVu Sans is not installed");
}

void TestKelLabel::titleBarShadow() {
    // The pane title bar: white text with a black shadow one pixel right and below, on grey.
    TKelLabel label(QString(QChar(0x2588)));
    label.setFont(DejaVu(30));
    if (!label.fontMetrics().inFont(QChar(0x2588))) QSKIP("no full block glyph");
    label.setAutoSize(false);
    label.resize(80, 50);
    label.setAlignment(Qt::AlignHCenter);
    label.setColor(kGrey);
    label.setFontColor(Qt::white);
    label.setShadowColor(Qt::black);
    QCOMPARE(label.TextStyle(), tsShadow);
    QCOMPARE(label.ShadowPath(), spRightDown);
    QCOMPARE(label.ShadowDepth(), 1);

    const QImage img = Render(label);
    const QRect text = BoxOf(img, Qt::white);
    const QRect shadow = InkBox(img);
    QVERIFY(!text.isEmpty());
    QVERIFY(!shadow.isEmpty());
    // The shadow shows only as a one-pixel rim right of and below the white text.
    QVERIFY(qAbs(shadow.right() - (text.right() + 1)) <= 1);
    QVERIFY(qAbs(shadow.bottom() - (text.bottom() + 1)) <= 1);
    QVERIFY(shadow.left() >= text.left());
    QVERIFY(shadow.top() >= text.top());
    QCOMPARE(QColor(img.pixel(text.center())), QColor(Qt::white));
    QCOMPARE(QColor(img.pixel(text.left() - 2, text.center().y())), kGrey);
    QCOMPARE(QColor(img.pixel(text.right() + 3, text.center().y())), kGrey);
}

void TestKelLabel::transparency() {
    QWidget parent;
    parent.resize(200, 60);
    parent.setAutoFillBackground(true);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::red);
    parent.setPalette(pal);
    auto* label = new TKelLabel(QStringLiteral("i i"), &parent);
    Plain(*label, 12, QSize(150, 40));
    label->move(10, 10);
    label->setColor(Qt::blue);

    // Opaque: the whole client area is filled first.
    QCOMPARE(QColor(Render(parent).pixel(150, 40)), QColor(Qt::blue));
    // Transparent: what lies beneath shows between and around the letters.
    label->setTransparent(true);
    const QImage img = Render(parent);
    QCOMPARE(QColor(img.pixel(150, 40)), QColor(Qt::red));
    QVERIFY(!InkBox(img).isEmpty());
}

void TestKelLabel::linesStartAtTheTop() {
    TKelLabel label;
    Plain(label, 16, QSize(120, 100));
    label.setCaption(QStringLiteral("W|W"));
    const int h = label.fontMetrics().height();
    // No band: both lines sit at the top of a tall label, one line height apart.
    const QList<QPair<int, int>> rows = InkRows(Render(label), kInk);
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows[0].first < h && rows[0].second < h);
    QVERIFY(rows[1].first >= h && rows[1].second < 2 * h);
    QCOMPARE(rows[1].first - rows[0].first, h);
}

void TestKelLabel::wordWrap() {
    TKelLabel label;
    Plain(label, 16, QSize(60, 100));
    label.setCaption(QStringLiteral("WW WW WW"));
    QCOMPARE(InkRows(Render(label), kInk).size(), 1);
    // Off: the line is clipped at the label's right edge.
    QVERIFY(InkBox(Render(label)).right() >= 58);

    label.setWordWrap(true);
    const QImage img = Render(label);
    QCOMPARE(InkRows(img, kInk).size(), 3);
    QVERIFY(InkBox(img).right() < 58);
}

void TestKelLabel::autoSize() {
    TKelLabel label(QStringLiteral("ab|cd"));
    label.setFont(DejaVu(14));
    const QFontMetrics fm = label.fontMetrics();
    // An ordinary label's measure: the "|" is a character and "&" marks without taking room.
    QCOMPARE(label.size(), QSize(fm.horizontalAdvance(QStringLiteral("ab|cd")), fm.height()));
    QCOMPARE(label.sizeHint(), label.size());
    label.setCaption(QStringLiteral("a&b"));
    QVERIFY(qAbs(label.width() - fm.horizontalAdvance(QStringLiteral("ab"))) <= 1);

    // A new font sizes it again.
    label.setFont(DejaVu(28));
    QCOMPARE(label.height(), label.fontMetrics().height());

    // Rotated, it takes the rotated box.
    label.setTextAngle(90);
    QCOMPARE(label.size(), QSize(label.fontMetrics().height(),
                                 label.fontMetrics().horizontalAdvance(QStringLiteral("a&b"))));

    // Off: the size stays.
    label.setTextAngle(0);
    label.setAutoSize(false);
    const QSize fixed = label.size();
    label.setCaption(QStringLiteral("a much longer caption"));
    QCOMPARE(label.size(), fixed);
}

void TestKelLabel::rotatedPlacementFollowsAlignment() {
    TKelLabel label;
    Plain(label, 16, QSize(200, 200));
    const QFontMetrics fm = label.fontMetrics();
    const int cy = fm.height();
    QRect r(0, 0, 10, 10);
    label.CalcTextPos(r, 270, QStringLiteral("text"));
    // 270 degrees: the text reads downward from its corner, cy to the right of the left edge.
    QCOMPARE(r.topLeft(), QPoint(cy, 0));
    label.setAlignment(Qt::AlignRight);
    r = QRect(0, 0, 10, 10);
    label.CalcTextPos(r, 180, QStringLiteral("text"));
    // 180 degrees: the corner moves cx right and cy down, then right-aligned by 200 - cx.
    QCOMPARE(r.topLeft(), QPoint(200, cy));
    QCOMPARE(label.size(), QSize(200, 200));
}

void TestKelLabel::clickAndHover() {
    TKelLabel label(QStringLiteral("[ ]"));
    label.resize(60, 20);
    QSignalSpy clicked(&label, &TKelTextControl::clicked);
    QSignalSpy entered(&label, &TKelTextControl::mouseEntered);
    QSignalSpy left(&label, &TKelTextControl::mouseLeft);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.size(), 1);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(clicked.size(), 1);
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&label, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    QCOMPARE(entered.size(), 1);
    QCOMPARE(left.size(), 1);
}

void TestKelLabel::defaults() {
    TKelLabel label;
    QCOMPARE(label.Alignment(), Qt::Alignment(Qt::AlignLeft));
    QCOMPARE(label.AutoSize(), true);
    QCOMPARE(label.Transparent(), false);
    QCOMPARE(label.WordWrap(), false);
    QCOMPARE(label.TextStyle(), tsShadow);
    QCOMPARE(label.ShadowColorValue(), clBtnShadow);
    QCOMPARE(label.BlinkRate(), 250);
    // The caption is the "text" property, so language packs reach it by name.
    label.setProperty("text", QStringLiteral("注意"));
    QCOMPARE(label.Caption(), QStringLiteral("注意"));
}

QTEST_MAIN(TestKelLabel)
#include "tst_kellabel.moc"
