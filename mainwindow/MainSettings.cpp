// Start, settings, first showing, closing and destruction of the main window.
#include "Main.h"

#include "Adjust.h"
#include "AutoSave.h"

#include "CodePage.h"
#include "DialogBase.h"
#include "Edit.h"
#include "FilmPlayer.h"
#include "Questions.h"
#include "RegionSplitter.h"
#include "Subtitle.h"
#include "Texts.h"

#include <QAction>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLayout>
#include <QHeaderView>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTimer>

#include <cmath>
#include <limits>

namespace {

const char* const kFormSizeNames[12] = {
    "Form.Main.Width",   "Form.Main.Height",   "Form.Edit.Width",    "Form.Edit.Height",
    "Form.Seg.Width",    "Form.Seg.Height",    "Form.Combine.Width", "Form.Combine.Height",
    "Form.Import.Width", "Form.Import.Height", "Form.SaveAs.Width",  "Form.SaveAs.Height",
};
// The video region's share of the height it divides with the editor region, in ten-thousandths.
const char* const kVideoShareName = "Form.Main.VideoShare";

// A stored 32-bit integer. The store may hand it back as a number or as text (the native
// format off Windows is text); a value larger than 31 bits wraps as a registry DWORD does.
// False, leaving out untouched, when the value is missing or not a whole number.
bool ReadInt(const QSettings& key, const QString& name, int32_t& out) {
    const QVariant value = key.value(name);
    if (!value.isValid()) return false;
    bool ok = false;
    qlonglong n = 0;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        n = value.toLongLong(&ok);
        break;
    case QMetaType::Bool:
        n = value.toBool() ? 1 : 0;
        ok = true;
        break;
    default:
        n = value.toString().trimmed().toLongLong(&ok, 10);
        break;
    }
    if (!ok || n < std::numeric_limits<int32_t>::min() ||
        n > qlonglong(std::numeric_limits<uint32_t>::max()))
        return false;
    out = static_cast<int32_t>(static_cast<uint32_t>(n));
    return true;
}

bool ReadColor(const QSettings& key, const QString& name, uint32_t& out) {
    int32_t n = 0;
    if (!ReadInt(key, name, n)) return false;
    out = static_cast<uint32_t>(n);
    return true;
}

// Booleans are stored as 0 or 1; text such as "true" from a hand-edited file is taken too.
bool ReadBool(const QSettings& key, const QString& name, bool& out) {
    const QVariant value = key.value(name);
    if (!value.isValid()) return false;
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true")) {
        out = true;
        return true;
    }
    if (text == QLatin1String("false")) {
        out = false;
        return true;
    }
    int32_t n = 0;
    if (!ReadInt(key, name, n)) return false;
    out = n != 0;
    return true;
}

bool ReadText(const QSettings& key, const QString& name, QString& out) {
    const QVariant value = key.value(name);
    if (!value.isValid()) return false;
    // The text format splits an unquoted value at commas; such a value is one text here.
    if (value.typeId() == QMetaType::QStringList)
        out = value.toStringList().join(QStringLiteral(", "));
    else
        out = value.toString();
    return true;
}

} // namespace

std::unique_ptr<QSettings> OpenSettings() {
    return std::make_unique<QSettings>(QStringLiteral("Kestrow Group."), QStringLiteral("Velitra"));
}

void TMainForm::FormCreate() {
    aSelCHT->setProperty("tag", 1028);
    aSelCHS->setProperty("tag", 2052);
    aSelENU->setProperty("tag", 1033);

    bool ok = false;
    const int builtInLcid = TextOf(txDefaultLcid).trimmed().toInt(&ok);
    Lcid = ok ? builtInLcid : 1028;

    {
        std::unique_ptr<QSettings> key = OpenSettings();
        for (int side = 0; side < 2; ++side) {
            const QString prefix = side ? QStringLiteral("SubtitleR") : QStringLiteral("SubtitleL");
            Pane[side]->CaptionStyle = DefaultCaptionStyle(side);
            ReadCaptionStyle(*key, prefix, Pane[side]->CaptionStyle);
            Pane[side]->CaptionHeight = -3;
            ReadInt(*key, prefix + ".Font.Height", Pane[side]->CaptionHeight);
        }
        ReadInt(*key, QStringLiteral("Lang.Lcid"), Lcid);
        // A language chosen later waits for the next start, for the code page too.
        lcidInForce_ = Lcid;
        int interval = 60;
        ReadInt(*key, QStringLiteral("AutoSave.Interval"), interval);
        AutoSaver->SetInterval(interval);
        int keep = 5;
        ReadInt(*key, QStringLiteral("Backup.Keep"), keep);
        AutoSaver->BackupKeep = keep;
        for (QAction* a : {aSelCHT, aSelCHS, aSelENU})
            a->setChecked(a->property("tag").toInt() == Lcid);
        // Files that are neither UTF-8 nor UTF-16 are read in the code page that goes with the
        // chosen language: GBK for Simplified Chinese, Big5 otherwise.
        SetLegacyCodePage(LanguagePage());

        LoadLanguage();

        FormSizes = kFormSizeDefaults;
        // Without a stored size of its own the main window opens as on a first start.
        storedMainSize_ = true;
        for (int i = 0; i < 12; ++i)
            if (!ReadInt(*key, QString::fromLatin1(kFormSizeNames[i]), FormSizes[size_t(i)]) &&
                i < 2)
                storedMainSize_ = false;
        int share = 0;
        storedVideoShare_ = ReadInt(*key, QString::fromLatin1(kVideoShareName), share) &&
                            share > 0 && share < 10000;
        if (storedVideoShare_) spUP->SetShare(share / 10000.0);

        RecentFiles.clear();
        for (int i = 0; i < 4; ++i) {
            QString path;
            if (ReadText(*key, QStringLiteral("PreferFile.%1").arg(i), path)) RecentFiles << path;
        }
    }

    ColumnTitles[0] = QStringLiteral("NO");
    ColumnTitles[1] = QString();
    ColumnTitles[2] = TextOf(txColumnStart);
    ColumnTitles[3] = TextOf(txColumnDuration);
    ColumnTitles[4] = TextOf(txColumnText);

    RecentMenu[0] = muF1;
    RecentMenu[1] = muF2;
    RecentMenu[2] = muF3;
    RecentMenu[3] = muF4;

    Player = CreatePlayer();

    ShowAction[0] = aShowSubL;
    ShowAction[1] = aShowSubR;
    SaveAction[0] = aSaveL;
    SaveAction[1] = aSaveR;
    SaveAsAction[0] = aSaveAsL;
    SaveAsAction[1] = aSaveAsR;
    ReopenAction[0] = aReopenL;
    ReopenAction[1] = aReopenR;
    SyncAction[0] = aSyncL;
    SyncAction[1] = aSyncR;
    FontAction[0] = aFontEditL;
    FontAction[1] = aFontEditR;
    ColorAction[0] = aColorSelectL;
    ColorAction[1] = aColorSelectR;
    BuildPanes();
    BuildWaveView();
    // The design widths, widened where the grid's font needs more for a whole number or time.
    for (QTableView* grid : {sgSubL, sgSubR}) {
        const QFontMetrics metrics = grid->fontMetrics();
        const int widths[5] = {
            std::max(30, metrics.horizontalAdvance(QStringLiteral("00000")) + 6), 15,
            std::max(70, metrics.horizontalAdvance(QStringLiteral("00:00:00,000")) + 8),
            std::max(40, metrics.horizontalAdvance(QStringLiteral("00:000")) + 8), 155};
        // A column is at least as wide as its title, whatever the language.
        const QFontMetrics header = grid->horizontalHeader()->fontMetrics();
        for (int c = 0; c < 5; ++c)
            grid->setColumnWidth(
                c, std::max(widths[c], header.horizontalAdvance(ColumnTitles[c]) + 12));
    }

    ShowingRowColor = 0xFFCCCC;
    GapRowColor = 0xDFDFDF;
    CurrentRowColor = ShowingRowColor;
    ActiveSide = -1;
    SearchText.clear();

    ApplySubtitleStyle(0);
    ApplySubtitleStyle(1);
}

void TMainForm::ReadCaptionStyle(QSettings& key, const QString& prefix, TCaptionStyle& style) {
    ReadColor(key, prefix + ".BGColor", style.BGColor);
    ReadText(key, prefix + ".Font.Name", style.FontName);
    ReadInt(key, prefix + ".Font.Size", style.FontSize);
    ReadColor(key, prefix + ".Font.Color", style.FontColor);
    ReadInt(key, prefix + ".Font.Charset", style.Charset);
    ReadBool(key, prefix + ".Font.Bold", style.Bold);
    ReadBool(key, prefix + ".Font.Italic", style.Italic);
    ReadBool(key, prefix + ".Font.Underline", style.Underline);
    ReadBool(key, prefix + ".Font.StrikeOut", style.StrikeOut);
}

void TMainForm::WriteCaptionStyle(QSettings& key, const QString& prefix,
                                  const TCaptionStyle& style) {
    // Colours are unsigned 32-bit values: a system colour has the top bit set.
    key.setValue(prefix + ".BGColor", uint(style.BGColor));
    key.setValue(prefix + ".Font.Name", style.FontName);
    key.setValue(prefix + ".Font.Size", style.FontSize);
    key.setValue(prefix + ".Font.Color", uint(style.FontColor));
    key.setValue(prefix + ".Font.Charset", style.Charset & 0xFF);
    key.setValue(prefix + ".Font.Bold", style.Bold ? 1 : 0);
    key.setValue(prefix + ".Font.Italic", style.Italic ? 1 : 0);
    key.setValue(prefix + ".Font.Underline", style.Underline ? 1 : 0);
    key.setValue(prefix + ".Font.StrikeOut", style.StrikeOut ? 1 : 0);
}

void TMainForm::FormShow() {
    resize(FormSizes[0], FormSizes[1]);
    if (!storedMainSize_) FirstStartSize();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    // The editing windows take their stored sizes, in the order they were made: edit, segment,
    // combine, import, save as.
    for (TDialogBase* dialog : TDialogBase::Dialogs()) {
        const int i = dialog->FormSizeIndex();
        if (i > 0 && i + 1 < int(FormSizes.size()))
            dialog->ApplyFormSize(FormSizes[size_t(i)], FormSizes[size_t(i) + 1]);
    }
    // Without a stored share the video region takes room for a useful picture.
    if (layout()) layout()->activate();
    if (storedVideoShare_)
        spUP->ApplyShare();
    else
        spUP->SetShare(FirstVideoShare());
    RebuildRecentMenu();
}

void TMainForm::RebuildRecentMenu() {
    while (RecentFiles.size() > 4)
        RecentFiles.removeLast();
    for (int i = 0; i < 4; ++i) {
        QAction* item = RecentMenu[i];
        if (i < RecentFiles.size()) {
            // "&" in a path is a letter, not an accelerator.
            QString path = RecentFiles[i];
            item->setText(QStringLiteral("%1. %2").arg(i + 1).arg(path.replace('&', "&&")));
            item->setVisible(true);
        } else {
            item->setVisible(false);
        }
    }
    muLine->setVisible(!RecentFiles.isEmpty());
}

void TMainForm::FormCloseQuery(bool& canClose) {
    // Each changed side is asked on its own: Save, Don't save, or Cancel, which keeps the window.
    canClose = false;
    for (int side = 0; side < 2; ++side) {
        if (!Sides[side]->IsModified()) continue;
        const QString name =
            QFileInfo(QString::fromStdString(Pane[side]->Doc()->FileName())).fileName();
        const int answer = Questions().MessageBox(this, TextOf(txSaveChangesOf).arg(name),
                                                  Pane[side]->Title(false), TMsgKind::Warning,
                                                  {mrSave, mrDiscard, mrCancel}, mrSave);
        if (answer == mrCancel) return;
        // A failed save has been told; the window stays open with the work in it.
        if (answer == mrSave && !aSaveLExecute(side)) return;
    }
    canClose = true;
}

void TMainForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;

    MovieTimer->stop();
    SubTimerL->stop();
    SubTimerR->stop();
    delete Player;
    Player = nullptr;

    std::unique_ptr<QSettings> key = OpenSettings();
    for (int side = 0; side < 2; ++side) {
        const QString prefix = side ? QStringLiteral("SubtitleR") : QStringLiteral("SubtitleL");
        WriteCaptionStyle(*key, prefix, Pane[side]->CaptionStyle);
        key->setValue(prefix + ".Font.Height", Pane[side]->CaptionHeight);
    }
    key->setValue(QStringLiteral("Lang.Lcid"), Lcid);
    key->setValue(QStringLiteral("AutoSave.Interval"), AutoSaver->Interval());
    key->setValue(QStringLiteral("Backup.Keep"), AutoSaver->BackupKeep);
    for (int i = 0; i < 12; ++i)
        key->setValue(QString::fromLatin1(kFormSizeNames[i]), FormSizes[size_t(i)]);
    key->setValue(QString::fromLatin1(kVideoShareName), int(std::lround(spUP->Share() * 10000)));
    const int recent = int(std::min<qsizetype>(RecentFiles.size(), 4));
    for (int i = 0; i < recent; ++i)
        key->setValue(QStringLiteral("PreferFile.%1").arg(i), RecentFiles[i]);
    // Positions beyond the list would come back at the next start as stale duplicates.
    for (int i = recent; i < 4; ++i)
        key->remove(QStringLiteral("PreferFile.%1").arg(i));
    key->sync();
}
