#include "WaveView.h"

#include "CodePage.h"
#include "EditorHost.h"
#include "Pertitle.h"
#include "Subtitle.h"
#include "Tags.h"
#include "Texts.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStaticText>
#include <QSettings>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

const QColor kBackground(24, 26, 30);
const QColor kWave(110, 200, 120);
const QColor kRulerBack(44, 46, 52);
const QColor kRulerText(200, 200, 200);
const QColor kKeyframe(78, 80, 88);
const QColor kCursor(255, 70, 60);
const QColor kMark(255, 255, 255, 40);
// The left side's entries in blue, the right side's in amber, as the panes tell them apart.
const QColor kSideFill[2] = {QColor(70, 130, 230, 80), QColor(230, 160, 50, 80)};
const QColor kSideEdge[2] = {QColor(90, 150, 250), QColor(250, 180, 70)};
const QColor kSelectedFill(255, 255, 255, 70);
const QColor kSelectedEdge(255, 240, 120);
// Qt's raster engine hands a fill of more than 95 rows of translucent colour to its thread pool;
// over many regions and lines the hand-offs cost far more than the fills, above all when the
// cores are busy. Translucent regions are filled in bands of at most this many rows.
constexpr int kBandRows = 90;
// Text is written into a region only when it is at least this wide.
constexpr int kTextFromPixels = 28;
// Looking back from the first entry starting in view for one started earlier that still shows.
constexpr int kLookBack = 64;
// At most this many entries are looked at around one point (grabbing, snapping).
constexpr int kLookAround = 256;

// Black through blue, red and yellow to white: quiet to loud.
const std::array<QRgb, 256>& Palette() {
    static const std::array<QRgb, 256> palette = [] {
        std::array<QRgb, 256> p{};
        for (int i = 0; i < 256; ++i) {
            const double v = i / 255.0;
            const int r = int(255 * std::clamp(v * 3 - 1, 0.0, 1.0));
            const int g = int(255 * std::clamp(v * 3 - 2, 0.0, 1.0));
            const int b = int(255 * std::clamp(v < 0.33 ? v * 3 : 2 - v * 3, 0.0, 1.0));
            p[i] = qRgb(r, g, std::max(b, int(255 * std::clamp(v * 3 - 2, 0.0, 1.0))));
        }
        return p;
    }();
    return palette;
}

QString RulerText(int64_t ms, int64_t step) {
    const int64_t h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60;
    QString text = QStringLiteral("%1:%2:%3")
                       .arg(h)
                       .arg(m, 2, 10, QLatin1Char('0'))
                       .arg(s, 2, 10, QLatin1Char('0'));
    if (step < 1000) text += QStringLiteral(".%1").arg(ms % 1000, 3, 10, QLatin1Char('0'));
    return text;
}

} // namespace

TWaveView::TWaveView(TEditorHost* host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("wvAudio"));
    setMouseTracking(true);
    setMinimumHeight(60);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click gives it the keys (and the 播放 menu's keys work from here as from the grids).
    setFocusPolicy(Qt::StrongFocus);

    aSnap = new QAction(TextOf(txSnap), this);
    aSnap->setObjectName(QStringLiteral("aSnap"));
    aSnap->setCheckable(true);
    aSnap->setChecked(true);
    aSpectrum = new QAction(TextOf(txShowSpectrum), this);
    aSpectrum->setObjectName(QStringLiteral("aSpectrum"));
    aSpectrum->setCheckable(true);
    aPlayStretch = new QAction(TextOf(txPlayStretch), this);
    aPlayStretch->setObjectName(QStringLiteral("aPlayStretch"));
    aPlayStretch->setShortcut(QKeySequence(Qt::Key_P));
    aPlayStretch->setShortcutContext(Qt::WidgetShortcut);
    addAction(aPlayStretch);
    connect(aSnap, &QAction::toggled, this, [this] { emit switchesChanged(); });
    connect(aSpectrum, &QAction::toggled, this, [this] {
        update();
        emit switchesChanged();
    });
    connect(aPlayStretch, &QAction::triggered, this, [this] {
        if (marked_) emit playStretchRequested(marked_->first, marked_->second);
    });

    if (host_) {
        connect(host_, &TEditorHost::entriesChanged, this, [this] {
            labels_.clear();
            update();
        });
        connect(host_, &TEditorHost::documentReplaced, this, [this](int side) {
            // The entry being dragged belongs to the document that left.
            if (drag_.Grab != TGrab::None && drag_.Grab != TGrab::Mark && drag_.Side == side)
                drag_ = TDrag();
            labels_.clear();
            ClampView();
            update();
        });
    }
    timer_ = new QTimer(this);
    timer_->setInterval(16);
    connect(timer_, &QTimer::timeout, this, &TWaveView::Tick);
    timer_->start();
}

TWaveView::~TWaveView() = default;

void TWaveView::SetSound(std::shared_ptr<const TSound> sound) {
    sound_ = std::move(sound);
    peaks_ = sound_ ? TWavePeaks(sound_->Wave) : TWavePeaks();
    ClampView();
    update();
}

void TWaveView::SetFilmLength(int64_t ms) {
    filmLength_ = std::max<int64_t>(0, ms);
    ClampView();
    update();
}

double TWaveView::TimeToX(int64_t ms) const { return (double(ms) - viewStart_) / msPerPixel_; }

int64_t TWaveView::XToTime(double x) const {
    return int64_t(std::llround(viewStart_ + x * msPerPixel_));
}

void TWaveView::SetView(double startMs, double msPerPixel) {
    msPerPixel_ = msPerPixel;
    viewStart_ = startMs;
    ClampView();
    update();
}

void TWaveView::ShowWholeFilm() { SetView(0, double(Length()) / std::max(1, width())); }

bool TWaveView::ShowsSpectrum() const { return aSpectrum->isChecked(); }
void TWaveView::SetShowSpectrum(bool on) { aSpectrum->setChecked(on); }
bool TWaveView::Snaps() const { return aSnap->isChecked(); }

void TWaveView::ReadSettings(const QSettings& key) {
    aSpectrum->setChecked(key.value(QStringLiteral("WaveSpectrum"), false).toBool());
    aSnap->setChecked(key.value(QStringLiteral("WaveSnap"), true).toBool());
}

void TWaveView::WriteSettings(QSettings& key) const {
    key.setValue(QStringLiteral("WaveSpectrum"), aSpectrum->isChecked());
    key.setValue(QStringLiteral("WaveSnap"), aSnap->isChecked());
}

std::optional<std::pair<int64_t, int64_t>> TWaveView::Marked() const { return marked_; }

int64_t TWaveView::Length() const {
    int64_t length = filmLength_;
    if (sound_) length = std::max(length, sound_->Wave.DurationMs);
    for (int side = 0; side < 2; ++side) {
        const SubTitle* doc = host_ ? host_->Document(side) : nullptr;
        if (doc && doc->Count() > 0) length = std::max<int64_t>(length, doc->Entries().back().End);
    }
    return std::max<int64_t>(length, 1000);
}

void TWaveView::ClampView() {
    const double widest = std::max(kFinestMsPerPixel, double(Length()) / std::max(1, width()));
    msPerPixel_ = std::clamp(msPerPixel_, kFinestMsPerPixel, widest);
    const double last = std::max(0.0, double(Length()) - width() * msPerPixel_);
    viewStart_ = std::clamp(viewStart_, 0.0, last);
}

QRect TWaveView::Body() const { return QRect(0, kRulerHeight, width(), height() - kRulerHeight); }

QRect TWaveView::HalfOf(int side) const {
    const QRect body = Body();
    const int half = body.height() / 2;
    return side == 0 ? QRect(0, body.top(), width(), half)
                     : QRect(0, body.top() + half, width(), body.height() - half);
}

int TWaveView::SideAt(int y) const { return y < HalfOf(1).top() ? 0 : 1; }

int TWaveView::FirstFrom(const SubTitle& doc, int64_t ms) {
    const std::vector<PerTitle>& entries = doc.Entries();
    int i = int(std::lower_bound(entries.begin(), entries.end(), ms,
                                 [](const PerTitle& e, int64_t t) { return e.Start < t; }) -
                entries.begin());
    // An entry started earlier that still shows is drawn too; a long one far back is not
    // looked for.
    for (int k = i - 1; k >= 0 && k >= i - kLookBack; --k)
        if (entries[k].End > ms) i = k;
    return i;
}

int TWaveView::EntryAt(int side, double x, TGrab* grab) const {
    *grab = TGrab::None;
    const SubTitle* doc = host_ ? host_->Document(side) : nullptr;
    if (!doc || doc->Count() == 0) return -1;
    const std::vector<PerTitle>& entries = doc->Entries();
    const int64_t t = XToTime(x);
    const int64_t reach = int64_t(std::ceil(kGrabPixels * msPerPixel_));
    int found = -1;
    double nearest = kGrabPixels + 1;
    int inside = -1;
    for (int i = FirstFrom(*doc, t - reach), seen = 0;
         i < int(entries.size()) && entries[i].Start <= t + reach && seen < kLookAround;
         ++i, ++seen) {
        const PerTitle& e = entries[i];
        const double ds = std::abs(TimeToX(e.Start) - x), de = std::abs(TimeToX(e.End) - x);
        // On an entry too narrow to tell its edges apart, the end is what is dragged out.
        if (de <= kGrabPixels && de <= nearest) {
            nearest = de;
            found = i;
            *grab = TGrab::End;
        }
        if (ds <= kGrabPixels && ds < nearest) {
            nearest = ds;
            found = i;
            *grab = TGrab::Start;
        }
        if (e.Start <= t && t < e.End) inside = i;
    }
    if (found >= 0) return found;
    if (inside >= 0) *grab = TGrab::Whole;
    return inside;
}

int64_t TWaveView::Snapped(int64_t ms, int side) const {
    const int64_t reach = int64_t(std::floor(kSnapPixels * msPerPixel_));
    int64_t best = ms;
    int64_t bestDistance = reach + 1;
    auto consider = [&](int64_t target) {
        const int64_t d = std::llabs(target - ms);
        if (d < bestDistance) {
            bestDistance = d;
            best = target;
        }
    };
    if (sound_) {
        const std::vector<int64_t>& keys = sound_->Keyframes;
        auto it = std::lower_bound(keys.begin(), keys.end(), ms);
        if (it != keys.end()) consider(*it);
        if (it != keys.begin()) consider(*std::prev(it));
    }
    if (host_ && host_->FilmOpen()) consider(int64_t(std::llround(cursorMs_)));
    const SubTitle* other = host_ ? host_->Document(1 - side) : nullptr;
    if (other && other->Count() > 0) {
        const std::vector<PerTitle>& entries = other->Entries();
        for (int i = FirstFrom(*other, ms - reach), seen = 0;
             i < int(entries.size()) && entries[i].Start <= ms + reach && seen < kLookAround;
             ++i, ++seen) {
            consider(entries[i].Start);
            consider(entries[i].End);
        }
    }
    return best;
}

// --- Painting ---

void TWaveView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    const double from = viewStart_, to = viewStart_ + width() * msPerPixel_;
    const QRect body = Body();
    PaintSound(p, body);
    if (marked_) {
        const double x0 = TimeToX(marked_->first), x1 = TimeToX(marked_->second);
        for (int top = body.top(); top <= body.bottom(); top += kBandRows)
            p.fillRect(QRectF(x0, top, std::max(1.0, x1 - x0),
                              std::min(kBandRows, body.bottom() + 1 - top)),
                       kMark);
    }
    p.setPen(QColor(255, 255, 255, 40));
    p.drawLine(0, HalfOf(1).top(), width(), HalfOf(1).top());
    for (int side = 0; side < 2; ++side) PaintEntries(p, side, from, to);
    PaintRuler(p, from, to);
    if (host_ && host_->FilmOpen()) {
        const double x = TimeToX(int64_t(std::llround(cursorMs_)));
        p.setPen(kCursor);
        p.drawLine(QPointF(x, 0), QPointF(x, height()));
    }
    PaintDragTimes(p);
}

void TWaveView::PaintSound(QPainter& p, const QRect& body) {
    if (body.width() <= 0 || body.height() <= 0) return;
    const TLayerKey key{viewStart_, msPerPixel_, body.size(), ShowsSpectrum(), sound_.get()};
    if (!(key == layerKey_) || layer_.isNull()) {
        layerKey_ = key;
        // Written pixel by pixel: a few hundred thousand stores, where as many painter calls
        // would cost far more.
        // The same image again while the size holds: a new one of a megabyte is fresh pages
        // for the kernel to hand over and clear, on every wheel notch.
        if (layer_.size() != body.size()) layer_ = QImage(body.size(), QImage::Format_RGB32);
        layer_.fill(kBackground);
        if (sound_ && ShowsSpectrum())
            DrawSpectrum(layer_);
        DrawKeyframes(layer_);
        if (sound_ && !ShowsSpectrum()) DrawWave(layer_);
    }
    p.drawImage(body.topLeft(), layer_);
}

void TWaveView::DrawWave(QImage& image) const {
    const TWaveform& w = sound_->Wave;
    const int64_t n = int64_t(w.Min.size());
    if (n == 0 || w.BucketMs <= 0) return;
    const int h = image.height();
    const double mid = h / 2.0;
    // Drawn to the film's loudest moment: quiet speech still shows its shape.
    const double scale = (h / 2.0 - 1) / peaks_.Peak();
    const QRgb colour = kWave.rgb();
    // scanLine() asks whether the image is shared on every call: the pixels are found once.
    QRgb* const pixels = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    const int width = image.width();
    for (int x = 0; x < width; ++x) {
        int64_t b0 = int64_t(std::floor((viewStart_ + x * msPerPixel_) / w.BucketMs));
        int64_t b1 = int64_t(std::floor((viewStart_ + (x + 1) * msPerPixel_) / w.BucketMs));
        b1 = std::max(b1, b0 + 1);
        if (b0 >= n) break;
        if (b1 <= 0) continue;
        const auto [mn, mx] = peaks_.Range(b0, b1);
        const int top = std::clamp(int(std::floor(mid - mx * scale)), 0, h - 1);
        const int bottom = std::clamp(int(std::ceil(mid - mn * scale)), top, h - 1);
        for (int y = top; y <= bottom; ++y) pixels[y * stride + x] = colour;
    }
}

void TWaveView::DrawSpectrum(QImage& image) const {
    const TSpectrogram& s = sound_->Spectrum;
    const int64_t columns = s.Columns();
    const int h = image.height();
    if (columns == 0) return;
    const std::array<QRgb, 256>& palette = Palette();
    std::vector<int> binOfRow(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) binOfRow[size_t(y)] = std::min(s.Bins - 1, (h - 1 - y) * s.Bins / h);
    const int width = image.width();
    std::vector<int64_t> columnOfX(size_t(width), -1);
    for (int x = 0; x < width; ++x) {
        const int64_t c = int64_t(std::floor((viewStart_ + (x + 0.5) * msPerPixel_) / s.ColumnMs));
        if (c >= 0 && c < columns) columnOfX[size_t(x)] = c * s.Bins;
    }
    QRgb* const pixels = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int y = 0; y < h; ++y) {
        QRgb* line = pixels + y * stride;
        const uint8_t* cells = s.Cells.data() + binOfRow[size_t(y)];
        for (int x = 0; x < width; ++x)
            if (columnOfX[size_t(x)] >= 0) line[x] = palette[cells[columnOfX[size_t(x)]]];
    }
}

void TWaveView::DrawKeyframes(QImage& image) const {
    if (!sound_) return;
    const std::vector<int64_t>& keys = sound_->Keyframes;
    const QRgb colour = kKeyframe.rgb();
    const int width = image.width();
    const double to = viewStart_ + width * msPerPixel_;
    // The columns first, then row by row: going down each column would touch every row's
    // memory once a keyframe, thousands of times over the whole film.
    std::vector<int> columns;
    auto it = std::lower_bound(keys.begin(), keys.end(), int64_t(std::floor(viewStart_)));
    while (it != keys.end() && double(*it) <= to) {
        const int x = int(std::floor(TimeToX(*it)));
        if (x >= 0 && x < width) columns.push_back(x);
        // One line a pixel where keyframes crowd.
        it = std::lower_bound(it + 1, keys.end(), XToTime(x + 1));
    }
    if (columns.empty()) return;
    QRgb* const pixels = reinterpret_cast<QRgb*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
    for (int y = 0; y < image.height(); ++y)
        for (const int x : columns) pixels[y * stride + x] = colour;
}

void TWaveView::PaintEntries(QPainter& p, int side, double from, double to) {
    const SubTitle* doc = host_ ? host_->Document(side) : nullptr;
    if (!doc || doc->Count() == 0) return;
    const std::vector<PerTitle>& entries = doc->Entries();
    const int count = int(entries.size());
    const QRect half = HalfOf(side).adjusted(0, 2, 0, -2);
    const std::pair<int, int> selected = host_->SelectedSpan(side);
    const int selTop = selected.first, selBottom = selected.second;
    const QFontMetrics fm = p.fontMetrics();
    p.setFont(font());

    // Draws the entries of [first, end) that are in view. Where they crowd, one entry a pixel
    // is looked at and regions that touch are drawn as one; every region is drawn in one batch.
    auto paintRun = [&](int first, int end, bool selected) {
        std::vector<QRectF> fills;
        std::vector<QLineF> edges;
        std::vector<std::pair<int, QRectF>> texts;
        double spanLeft = 0, spanRight = -1e300;
        auto region = [&](double left, double right) {
            for (int top = half.top(); top <= half.bottom(); top += kBandRows)
                fills.emplace_back(left, top, right - left,
                                   std::min(kBandRows, half.bottom() + 1 - top));
            edges.emplace_back(left + 0.5, half.top(), left + 0.5, half.bottom());
            if (right - left > 2)
                edges.emplace_back(right - 0.5, half.top(), right - 0.5, half.bottom());
        };
        auto flush = [&] {
            if (spanRight > spanLeft) region(spanLeft, spanRight);
            spanRight = -1e300;
        };
        for (int i = first; i < end;) {
            int32_t start = entries[i].Start, stop = entries[i].End;
            if (drag_.Grab != TGrab::None && drag_.Grab != TGrab::Mark && drag_.Side == side &&
                drag_.Index == i && drag_.Moved) {
                start = drag_.Start;
                stop = drag_.End;
            }
            if (start > to) break;
            const double x0 = TimeToX(start), x1 = TimeToX(stop);
            const double left = std::max(-1.0, std::floor(x0));
            const double right = std::min(width() + 1.0, std::max(left + 1, std::ceil(x1)));
            if (stop >= from) {
                if (right - left >= kTextFromPixels) {
                    flush();
                    region(left, right);
                    texts.emplace_back(i, QRectF(left, half.top(), right - left, half.height()));
                } else if (left <= spanRight) {
                    spanRight = std::max(spanRight, right);
                } else {
                    flush();
                    spanLeft = left;
                    spanRight = right;
                }
            }
            if (x1 - x0 < 1 && i + 1 < end) {
                // Crowded: on to the first entry starting past this pixel.
                const int64_t next = XToTime(right);
                i = int(std::lower_bound(entries.begin() + i + 1, entries.begin() + end, next,
                                         [](const PerTitle& e, int64_t t) { return e.Start < t; }) -
                        entries.begin());
            } else {
                ++i;
            }
        }
        flush();
        p.setPen(Qt::NoPen);
        p.setBrush(selected ? kSelectedFill : kSideFill[side]);
        p.drawRects(fills.data(), int(fills.size()));
        p.setBrush(Qt::NoBrush);
        p.setPen(selected ? kSelectedEdge : kSideEdge[side]);
        p.drawLines(edges.data(), int(edges.size()));
        p.setPen(kRulerText);
        for (const auto& [i, r] : texts) {
            // Only the part in view is worth laying out.
            const QRectF inner = r.intersected(QRectF(0, r.top(), width(), r.height()))
                                     .adjusted(3, 1, -3, -1);
            if (inner.width() < 8) continue;
            const QStaticText& label = Label(side, i, int(inner.width()), fm);
            p.drawStaticText(inner.topLeft(), label);
        }
    };
    const int first = FirstFrom(*doc, int64_t(std::floor(from)));
    paintRun(first, count, false);
    if (selTop >= 0 && selBottom >= selTop && selTop < count)
        paintRun(std::max(selTop, first), std::min(selBottom + 1, count), true);
    // The dragged entry over the others, wherever it has come from.
    if (drag_.Grab != TGrab::None && drag_.Grab != TGrab::Mark && drag_.Side == side &&
        drag_.Moved && drag_.Index < count)
        paintRun(drag_.Index, drag_.Index + 1,
                 drag_.Index >= selTop && drag_.Index <= selBottom);
}

const QStaticText& TWaveView::Label(int side, int index, int width, const QFontMetrics& fm) {
    const quint64 key = quint64(side) << 62 | quint64(uint32_t(index)) << 24 | uint32_t(width);
    auto it = labels_.find(key);
    if (it != labels_.end()) return it.value();
    // Laying out text is what a paint spends most on: each label is laid out once, and never
    // more of it than its region can show (no character is narrower than 3 pixels).
    // A view shows under a hundred labels; a thousand kept cover a few wheel notches back and
    // forth, and dropping them all at once stays cheap (4,096 took milliseconds of one paint).
    if (labels_.size() > 1024) labels_.clear();
    // The text as the caption panel shows it (no tags, a bar of the text kept), its lines
    // run together.
    const SubTitle* doc = host_->Document(side);
    const TCaption caption =
        CaptionOf(doc->Item(index)->Text, doc->FormatIndex(), doc->CodePage());
    QString text = QString::number(index + 1);
    for (const std::string& line : caption.Lines)
        text += QLatin1Char(' ') + QString::fromStdString(ToUtf8(doc->CodePage(), line));
    text.truncate(width / 3 + 2);
    QStaticText label(fm.elidedText(text, Qt::ElideRight, width));
    label.setTextFormat(Qt::PlainText);
    label.prepare(QTransform(), font());
    return labels_.insert(key, std::move(label)).value();
}

void TWaveView::PaintRuler(QPainter& p, double from, double to) {
    p.fillRect(0, 0, width(), kRulerHeight, kRulerBack);
    static const int64_t steps[] = {1,     2,     5,      10,     20,     50,      100,
                                    200,   500,   1000,   2000,   5000,   10000,   15000,
                                    30000, 60000, 120000, 300000, 600000, 900000,  1800000,
                                    3600000, 7200000, 18000000, 36000000};
    const QFontMetrics fm = p.fontMetrics();
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("00:00:00.000")) + 12;
    int64_t step = steps[std::size(steps) - 1];
    for (int64_t s : steps)
        if (s / msPerPixel_ >= labelWidth) {
            step = s;
            break;
        }
    p.setPen(kRulerText);
    const int64_t minor = std::max<int64_t>(1, step / 5);
    for (int64_t t = int64_t(std::floor(from / minor)) * minor; double(t) <= to; t += minor) {
        if (t < 0) continue;
        const double x = std::floor(TimeToX(t)) + 0.5;
        const bool major = t % step == 0;
        p.drawLine(QPointF(x, kRulerHeight - (major ? 7 : 3)), QPointF(x, kRulerHeight));
        if (major)
            p.drawText(QPointF(x + 3, fm.ascent() + 1), RulerText(t, step));
    }
}

void TWaveView::PaintDragTimes(QPainter& p) {
    if (!drag_.Moved || drag_.Grab == TGrab::None) return;
    QString text;
    double x;
    if (drag_.Grab == TGrab::Mark) {
        if (!marked_) return;
        text = QString::fromStdString(MsToTimeText(int32_t(marked_->first)) + " - " +
                                      MsToTimeText(int32_t(marked_->second)));
        x = TimeToX(marked_->second);
    } else {
        text = QString::fromStdString(MsToTimeText(drag_.Start) + " - " + MsToTimeText(drag_.End));
        x = TimeToX(drag_.Grab == TGrab::Start ? drag_.Start : drag_.End);
    }
    const QFontMetrics fm = p.fontMetrics();
    const QRect half = HalfOf(drag_.Side);
    QRect box(0, 0, fm.horizontalAdvance(text) + 8, fm.height() + 4);
    box.moveTo(std::clamp(int(x) + 6, 0, std::max(0, width() - box.width())),
               half.bottom() - box.height() - 2);
    p.fillRect(box, QColor(0, 0, 0, 200));
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignCenter, text);
}

// --- Mouse ---

void TWaveView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPointF at = event->position();
    drag_ = TDrag();
    drag_.Side = SideAt(int(at.y()));
    drag_.PressAt = at.toPoint();
    drag_.PressMs = XToTime(at.x());
    drag_.NoSnap = event->modifiers() & Qt::ShiftModifier;
    TGrab grab = TGrab::None;
    const int index = at.y() >= kRulerHeight ? EntryAt(drag_.Side, at.x(), &grab) : -1;
    if (index >= 0) {
        const PerTitle& e = *host_->Document(drag_.Side)->Item(index);
        drag_.Grab = grab;
        drag_.Index = index;
        drag_.OldStart = drag_.Start = e.Start;
        drag_.OldEnd = drag_.End = e.End;
    } else {
        drag_.Grab = TGrab::Mark;
    }
}

void TWaveView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (drag_.Grab == TGrab::None) {
        TGrab grab = TGrab::None;
        if (at.y() >= kRulerHeight) EntryAt(SideAt(int(at.y())), at.x(), &grab);
        setCursor(grab == TGrab::Start || grab == TGrab::End ? Qt::SizeHorCursor
                  : grab == TGrab::Whole                      ? Qt::OpenHandCursor
                                                              : Qt::ArrowCursor);
        return;
    }
    if (!drag_.Moved && (at.toPoint() - drag_.PressAt).manhattanLength() < 3) return;
    drag_.Moved = true;
    const bool snap = Snaps() && !drag_.NoSnap && !(event->modifiers() & Qt::ShiftModifier);
    const int64_t t = XToTime(at.x());
    auto place = [&](int64_t ms) { return snap ? Snapped(ms, drag_.Side) : ms; };
    switch (drag_.Grab) {
    case TGrab::Start:
        drag_.Start = SaturateMs(std::clamp<int64_t>(place(t), 0, drag_.OldEnd));
        break;
    case TGrab::End:
        drag_.End = SaturateMs(std::max<int64_t>(place(t), drag_.OldStart));
        break;
    case TGrab::Whole: {
        int64_t delta = t - drag_.PressMs;
        if (snap) {
            // Whichever edge lands nearer to a target takes the entry there.
            const int64_t s = drag_.OldStart + delta, e = drag_.OldEnd + delta;
            const int64_t ds = Snapped(s, drag_.Side) - s, de = Snapped(e, drag_.Side) - e;
            if (ds != 0 && (de == 0 || std::llabs(ds) <= std::llabs(de)))
                delta += ds;
            else
                delta += de;
        }
        delta = std::max<int64_t>(delta, -int64_t(drag_.OldStart));
        drag_.Start = SaturateMs(drag_.OldStart + delta);
        drag_.End = SaturateMs(drag_.OldEnd + delta);
        break;
    }
    case TGrab::Mark:
        marked_ = std::pair{std::max<int64_t>(0, std::min(drag_.PressMs, t)),
                            std::max(drag_.PressMs, t)};
        break;
    case TGrab::None:
        break;
    }
    update();
}

void TWaveView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || drag_.Grab == TGrab::None)
        return QWidget::mouseReleaseEvent(event);
    const TDrag drag = drag_;
    drag_ = TDrag();
    if (!drag.Moved) {
        marked_.reset();
        update();
        emit seekRequested(std::max<int64_t>(0, drag.PressMs));
        return;
    }
    if (drag.Grab != TGrab::Mark && (drag.Start != drag.OldStart || drag.End != drag.OldEnd)) {
        const SubTitle* doc = host_->Document(drag.Side);
        if (doc && drag.Index < doc->Count()) {
            TChange change;
            change.Hunks.push_back(TRetime{drag.Index, {TEntryTimes{drag.Start, drag.End}}});
            try {
                host_->ApplyChange(drag.Side, TextOf(txStepAdjustTime), std::move(change));
            } catch (const SubtitleError&) {
                // The document changed under the drag; nothing was applied.
            }
        }
    }
    update();
}

void TWaveView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPointF at = event->position();
    if (at.y() < kRulerHeight) return;
    const int side = SideAt(int(at.y()));
    TGrab grab = TGrab::None;
    const int index = EntryAt(side, at.x(), &grab);
    if (index >= 0) host_->SelectRow(side, index);
}

void TWaveView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const double notches = (angle.y() != 0 ? angle.y() : angle.x()) / 120.0;
    if (notches == 0) return;
    if (event->modifiers() & Qt::ControlModifier) {
        ZoomAbout(event->position().x(), std::pow(1.25, notches));
    } else {
        viewStart_ -= notches * width() * msPerPixel_ / 10;
        ClampView();
        update();
    }
    event->accept();
}

void TWaveView::ZoomAbout(double x, double factor) {
    const double anchor = viewStart_ + x * msPerPixel_;
    msPerPixel_ /= factor;
    const double widest = std::max(kFinestMsPerPixel, double(Length()) / std::max(1, width()));
    msPerPixel_ = std::clamp(msPerPixel_, kFinestMsPerPixel, widest);
    viewStart_ = anchor - x * msPerPixel_;
    ClampView();
    update();
}

void TWaveView::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    const bool ctrl = mods == Qt::ControlModifier;
    // Ctrl+Plus is Ctrl+= on many keyboards, Ctrl+Shift+= on others.
    const bool zoomIn =
        event->matches(QKeySequence::ZoomIn) ||
        ((mods & Qt::ControlModifier) && (key == Qt::Key_Plus || key == Qt::Key_Equal));
    const bool zoomOut = event->matches(QKeySequence::ZoomOut) || (ctrl && key == Qt::Key_Minus);
    if (zoomIn || zoomOut) {
        // About the playback cursor while it is in view, so that the moment being timed stays put.
        const double cursor = TimeToX(int64_t(std::llround(cursorMs_)));
        const bool cursorShown = host_ && host_->FilmOpen() && cursor >= 0 && cursor <= width();
        ZoomAbout(cursorShown ? cursor : width() / 2.0, zoomIn ? 1.25 : 1 / 1.25);
        return;
    }
    if (mods != Qt::NoModifier) return QWidget::keyPressEvent(event);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        viewStart_ += (key == Qt::Key_Left ? -1 : 1) * width() * msPerPixel_ / 10;
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        viewStart_ += (key == Qt::Key_PageUp ? -1 : 1) * width() * msPerPixel_;
        break;
    case Qt::Key_Home:
        viewStart_ = 0;
        break;
    case Qt::Key_End:
        viewStart_ = double(Length()); // the clamp brings the end to the right edge
        break;
    case Qt::Key_Escape:
        if (!marked_) return QWidget::keyPressEvent(event);
        marked_.reset();
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    ClampView();
    update();
}

void TWaveView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    aPlayStretch->setEnabled(marked_.has_value());
    menu.addAction(aPlayStretch);
    menu.addSeparator();
    menu.addAction(aSpectrum);
    menu.addAction(aSnap);
    menu.exec(event->globalPos());
}

void TWaveView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ClampView();
}

// --- The playback cursor ---

void TWaveView::Tick() {
    if (!host_ || !host_->FilmOpen()) return;
    const double pos = host_->FilmPosition() * 1000.0;
    if (pos != reported_) {
        reported_ = pos;
        sinceReport_.restart();
    }
    const bool playing = host_->FilmPlaying();
    // Between the player's reports the cursor runs on at the film's pace, never far ahead.
    const double now =
        playing && sinceReport_.isValid() ? reported_ + std::min<qint64>(sinceReport_.elapsed(), 500)
                                          : reported_;
    if (now == cursorMs_) return;
    cursorMs_ = now;
    if (playing) Follow();
    update();
}

void TWaveView::Follow() {
    if (drag_.Grab != TGrab::None) return;
    const double x = TimeToX(int64_t(std::llround(cursorMs_)));
    if (x >= 0 && x <= width() * 0.9) return;
    viewStart_ = cursorMs_ - width() * 0.1 * msPerPixel_;
    ClampView();
}
