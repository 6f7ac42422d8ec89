// The edit window's time fields: showing and reading times and durations, the steps, leaving a
// field, keeping the duration and the film's moment, all within 00:00:00,000 to 99:59:59,999.
#include "Edit.h"

#include "EditorHost.h"
#include "MaskEdit.h"
#include "Subtitle.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

int32_t Clamp(int64_t ms) {
    return static_cast<int32_t>(std::clamp<int64_t>(ms, 0, TEditForm::kMaxTime));
}

// The digits a field holds as a number; empty positions are left out, an empty field is 0.
int64_t FieldNumber(const QString& text) {
    int64_t n = 0;
    for (const QChar c : text)
        if (c.isDigit() && n < (int64_t{1} << 40)) n = n * 10 + c.digitValue();
    return n;
}

} // namespace

void TEditForm::ShowTime(int which, int32_t ms) {
    const int32_t t = Clamp(ms);
    const int parts[4] = {t / 3600000, t % 3600000 / 60000, t % 60000 / 1000, t % 1000};
    for (int k = 0; k < 4; ++k)
        TimeField[which][k]->SetValue(
            QStringLiteral("%1").arg(parts[k], k == 3 ? 3 : 2, 10, QLatin1Char('0')));
}

int32_t TEditForm::ReadTime(int which) const {
    static const int64_t units[4] = {3600000, 60000, 1000, 1};
    int64_t ms = 0;
    for (int k = 0; k < 4; ++k)
        ms += FieldNumber(TimeField[which][k]->text()) * units[k];
    return Clamp(ms);
}

void TEditForm::ShowDelay(int32_t ms) {
    const bool negative = ms < 0;
    const int64_t magnitude = negative ? -int64_t{ms} : int64_t{ms};
    const QString seconds = QString::number(magnitude / 1000);
    // Two digits of seconds at least, more when the duration needs them, never cut.
    const int digits = std::max<int>(2, int(seconds.size()));
    const QString sign = negative ? QStringLiteral("-") : QString();
    const QString mask =
        QStringLiteral("!%1%2:000;1;_").arg(sign, QString(digits, QLatin1Char('0')));
    if (meDelay->EditMask() != mask) {
        meDelay->SetEditMask(mask);
        const int extra = digits - 2 + int(sign.size());
        meDelay->resize(46 + extra * meDelay->fontMetrics().horizontalAdvance(QLatin1Char('0')),
                        meDelay->height());
        upDelay->move(meDelay->geometry().right() + 1, upDelay->y());
    }
    meDelay->SetValue(QStringLiteral("%1%2:%3")
                          .arg(sign, seconds.rightJustified(digits, QLatin1Char('0')))
                          .arg(magnitude % 1000, 3, 10, QLatin1Char('0')));
}

int32_t TEditForm::ReadDelay() const {
    const QString text = meDelay->text();
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const int64_t ms = FieldNumber(text.left(colon)) * 1000 + FieldNumber(text.mid(colon + 1));
    return SaturateMs(text.startsWith(QLatin1Char('-')) ? -ms : ms);
}

int32_t TEditForm::KeptStart(int32_t start) const {
    const PerTitle* e = Entry();
    if (!e) return Clamp(start);
    const int64_t d = e->Duration();
    const int64_t low = std::max<int64_t>(0, -d);
    const int64_t high = std::min<int64_t>(kMaxTime, kMaxTime - d);
    return low > high ? Clamp(start) : static_cast<int32_t>(std::clamp<int64_t>(start, low, high));
}

void TEditForm::ShowKeptEnd() {
    // The start as loaded keeps the end as loaded: the stored entry is its own start plus its
    // duration, also where the fields cannot show its times.
    if (ReadTime(0) == shownStart_) {
        ShowTime(1, LoadedEnd);
        return;
    }
    const int32_t start = KeptStart(ReadTime(0));
    ShowTime(0, start);
    ShowTime(1, Clamp(int64_t{start} + Entry()->Duration()));
}

void TEditForm::upStartmsChangingEx(TUpDown* spinner, int direction) {
    if (!Entry()) return;
    const int32_t start = Clamp(int64_t{ReadTime(0)} + int64_t{spinner->Increment()} * direction);
    ShowTime(0, start);
    if (cbKeepDelay->isChecked()) ShowKeptEnd();
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::upEndmsChangingEx(TUpDown* spinner, int direction) {
    if (!Entry()) return;
    ShowTime(1, Clamp(int64_t{ReadTime(1)} + int64_t{spinner->Increment()} * direction));
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::meStartmsExit() {
    if (!Entry()) return;
    // Typed values carry into the next field up (75 minutes show as 01:15).
    ShowTime(0, ReadTime(0));
    if (cbKeepDelay->isChecked()) ShowKeptEnd();
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::meEndmsExit() {
    if (!Entry()) return;
    ShowTime(1, ReadTime(1));
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::meDelayExit() {
    if (!Entry()) return;
    ShowTime(1, Clamp(int64_t{ReadTime(0)} + ReadDelay()));
    ShowDelay(ReadTime(1) - ReadTime(0));
}

void TEditForm::cbKeepDelayClick() {
    const bool keep = cbKeepDelay->isChecked();
    if (keep && Entry()) {
        ShowKeptEnd();
        ShowDelay(ReadTime(1) - ReadTime(0));
    }
    for (int k = 0; k < 4; ++k) {
        TimeField[1][k]->setEnabled(!keep);
        TimeSpinner[1][k]->setEnabled(!keep);
    }
    meDelay->setEnabled(!keep);
    upDelay->setEnabled(!keep);
    UpdateFilmButtons();
}

void TEditForm::sbtnGetStartClick(int selector) {
    if (!Entry() || !host_->FilmOpen()) return;
    // The end takes no film time while it follows the start.
    if (selector == 1 && cbKeepDelay->isChecked()) return;
    const double seconds = host_->FilmPosition();
    if (std::isnan(seconds)) return;
    // Truncated toward zero, within the fields' range.
    const auto t = static_cast<int32_t>(std::clamp(seconds * 1000.0, 0.0, double(kMaxTime)));
    ShowTime(selector, t);
    if (selector == 0 && cbKeepDelay->isChecked()) ShowKeptEnd();
    ShowDelay(ReadTime(1) - ReadTime(0));
}

bool TEditForm::FieldsComplete() {
    for (auto& row : TimeField)
        for (TMaskEdit* field : row)
            if (!field->Complete()) {
                field->Refuse();
                return false;
            }
    if (!meDelay->Complete()) {
        meDelay->Refuse();
        return false;
    }
    return true;
}
