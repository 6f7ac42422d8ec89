// Every dialog laid out in each language (the built-in Traditional Chinese and the two shipped
// packs) at the default font: no label, check box, radio button, push button or group box title
// whose text does not fit its rectangle, and none whose text runs into a sibling control. A
// failure names the window, the control and what it runs into.
#include "FakePlayer.h"
#include "LanguagePack.h"
#include "Main.h"
#include "ReplaceDialog.h"
#include "Startup.h"
#include "TestSettings.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionButton>
#include <QtTest>

namespace {

QString Plain(QString text) {
    // A mnemonic's "&" takes no room; "&&" shows one.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

QString Rect(const QRect& r) {
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

int TextWidth(const QWidget* w, const QString& text) {
    int widest = 0;
    for (const QString& line : Plain(text).split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

// Glyphs leave a pixel or two of side bearing blank: a text that needs no more than this beyond
// its rectangle shows whole.
constexpr int kSlack = 2;

// The stretches (in the parent) the text's words take, a run of two or more spaces (room left for
// a neighbour, as in "Custom        pixels") parting them; the text starts at x.
QList<QRect> Words(const QWidget* w, const QString& text, int x, const QRect& g) {
    QList<QRect> words;
    static const QRegularExpression gap(QStringLiteral("\\S+(?: \\S+)*"));
    const QString plain = Plain(text);
    for (auto it = gap.globalMatch(plain); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int from = w->fontMetrics().horizontalAdvance(plain.left(m.capturedStart()));
        const int width = w->fontMetrics().horizontalAdvance(m.captured());
        // The text's line, less the pixel of blank its ascent and descent leave on each side.
        const int height = std::min(g.height(), w->fontMetrics().height());
        words << QRect(x + from, g.top() + (g.height() - height) / 2, width, height)
                     .adjusted(0, 1, 0, -1);
    }
    return words;
}

// The part of the control's rectangle (in its parent) its text takes, or an empty rectangle
// for a control with no text to check; why says what does not fit.
QRect TextRect(QWidget* w, QString* why) {
    const QRect g = w->geometry();
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText || label->wordWrap() ||
            !label->pixmap().isNull())
            return {};
        const int need = TextWidth(label, label->text()) + 2 * label->frameWidth() +
                         2 * label->margin() + (label->indent() > 0 ? label->indent() : 0);
        const int lines = int(label->text().count(QLatin1Char('\n'))) + 1;
        const int needHeight = lines * label->fontMetrics().height() - 2;
        if (need > g.width() + kSlack || needHeight > g.height() + kSlack)
            *why = QStringLiteral("needs %1 x %2, has %3 x %4")
                       .arg(need)
                       .arg(needHeight)
                       .arg(g.width())
                       .arg(g.height());
        QRect used(g.topLeft(), QSize(std::min(need, g.width()), g.height()));
        if (label->alignment() & Qt::AlignRight) used.moveRight(g.right());
        if (label->alignment() & Qt::AlignHCenter) used.moveCenter(g.center());
        return used;
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        auto* button = static_cast<QAbstractButton*>(w);
        if (button->text().isEmpty()) return {};
        const int need = button->sizeHint().width();
        if (need > g.width() + kSlack)
            *why = QStringLiteral("needs %1, has %2").arg(need).arg(g.width());
        return QRect(g.topLeft(), QSize(std::min(need, g.width()), g.height()));
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        if (button->text().isEmpty()) return {};
        int need = TextWidth(button, button->text()) + 8;
        if (!button->icon().isNull()) need += button->iconSize().width() + 4;
        if (need > g.width() + kSlack)
            *why = QStringLiteral("needs %1, has %2").arg(need).arg(g.width());
        return {}; // a button's text stays inside its own frame
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        if (box->title().isEmpty()) return {};
        const int need = TextWidth(box, box->title()) + 16;
        if (need > g.width() + kSlack)
            *why = QStringLiteral("title needs %1, has %2").arg(need).arg(g.width());
        return {};
    }
    return {};
}

// What is wrong in one window: texts that do not fit, texts that run into a sibling.
QStringList Faults(QWidget* window) {
    QStringList faults;
    const QString where = QString::fromLatin1(window->metaObject()->className());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // Parts the window shows on demand (the edit window's lower half) count too: only what
        // is hidden for itself is passed over.
        if (w->isHidden() || w->window() != window) continue;
        QString why;
        const QRect used = TextRect(w, &why);
        if (!why.isEmpty())
            faults << QStringLiteral("%1/%2 \"%3\" is cut off: %4")
                          .arg(where, w->objectName(), Plain(w->property("text").toString() +
                                                             w->property("title").toString()),
                               why);
        if (used.isEmpty() || !w->parentWidget()) continue;
        const QString text = w->property("text").toString();
        // A check box's or radio button's text starts after its indicator; a label's where its
        // alignment puts it.
        int x = used.right() + 1 - TextWidth(w, text);
        if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
            QStyleOptionButton option;
            option.initFrom(w);
            const bool radio = qobject_cast<QRadioButton*>(w);
            x = w->x() +
                w->style()->pixelMetric(radio ? QStyle::PM_ExclusiveIndicatorWidth
                                              : QStyle::PM_IndicatorWidth,
                                        &option, w) +
                w->style()->pixelMetric(radio ? QStyle::PM_RadioButtonLabelSpacing
                                              : QStyle::PM_CheckBoxLabelSpacing,
                                        &option, w);
        }
        const QList<QRect> words = Words(w, text, x, w->geometry());
        for (QObject* o : w->parentWidget()->children()) {
            auto* sibling = qobject_cast<QWidget*>(o);
            // A plain frame is a bevel drawn behind its neighbours.
            if (!sibling || sibling == w || sibling->isHidden() || sibling->isWindow() ||
                QByteArray(sibling->metaObject()->className()) == "QFrame")
                continue;
            const QRect other = sibling->geometry();
            for (const QRect& word : words)
                if (word.intersects(other)) {
                    faults << QStringLiteral("%1/%2 \"%3\" %4 runs into %5 %6")
                                  .arg(where, w->objectName(), Plain(text), Rect(word),
                                       sibling->objectName(), Rect(other));
                    break;
                }
        }
    }
    return faults;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT
    TTestSettings settings_;

private slots:
    void cleanup() {
        UnloadLanguagePack();
        SetPackProgram(QString());
    }

    void dialogsFit_data() {
        QTest::addColumn<int>("lcid");
        QTest::newRow("Traditional Chinese") << 1028;
        QTest::newRow("Simplified Chinese") << 2052;
        QTest::newRow("English") << 1033;
    }
    void dialogsFit() {
        QFETCH(int, lcid);
        SetPackProgram(QStringLiteral(VELITRA_LANG_DIR "/velitra"));
        OpenSettings()->setValue(QStringLiteral("Lang.Lcid"), lcid);
        QStringList faults;
        {
            TForms forms;
            CreateForms(forms, [](QWidget* video) { return new TFakePlayer(video); });
            QVERIFY(lcid == 1028 || CurrentPack());
            // Windows made on first use.
            new TReplaceDialog(forms.MainForm.get());
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (qobject_cast<QMenu*>(window) || qobject_cast<TMainForm*>(window) ||
                    !window->inherits("QDialog"))
                    continue;
                window->show();
                QVERIFY(QTest::qWaitForWindowExposed(window));
                faults << Faults(window);
                window->hide();
            }
        }
        faults.sort();
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1 faults:\n").arg(faults.size()) +
                                              faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
