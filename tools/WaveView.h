#pragma once
// The film's sound under the picture, with both sides' entries over it: the left side's in the
// upper half, the right side's in the lower half. The user times entries by sight: an edge
// dragged to where speech starts or ends, an entry moved whole, edges snapping to keyframes, to
// the playback cursor and to the other side's edges, so that a translation lands exactly on the
// original. Every re-timing is one step through the host's door.
//
// The view keeps no document: it asks the host for each side's document whenever it draws or
// acts, and only what is visible is drawn (one region per pixel where entries crowd).
#include "Waveform.h"
#include "WavePeaks.h"

#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QStaticText>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QSettings;
class QTimer;
class SubTitle;
class TEditorHost;

class TWaveView : public QWidget {
    Q_OBJECT
public:
    // The finest zoom: 1 ms a pixel.
    static constexpr double kFinestMsPerPixel = 1.0;
    // An edge within this many pixels is grabbed; a snapping target within this many is taken.
    static constexpr int kGrabPixels = 4;
    static constexpr int kSnapPixels = 8;
    static constexpr int kRulerHeight = 18;

    explicit TWaveView(TEditorHost* host, QWidget* parent = nullptr);
    ~TWaveView() override;

    // The film's sound (or none: the view still shows the entries over silence).
    void SetSound(std::shared_ptr<const TSound> sound);
    const TSound* Sound() const { return sound_.get(); }
    // The film's length in ms when known from the player; the whole-film zoom reaches it.
    void SetFilmLength(int64_t ms);

    // Where a film moment lies in the view and the moment under a pixel column.
    double TimeToX(int64_t ms) const;
    int64_t XToTime(double x) const;
    // The visible stretch: its first moment and ms per pixel.
    double ViewStart() const { return viewStart_; }
    double MsPerPixel() const { return msPerPixel_; }
    void SetView(double startMs, double msPerPixel);
    // The whole film in the view.
    void ShowWholeFilm();

    // The spectrogram in place of the waveform.
    bool ShowsSpectrum() const;
    void SetShowSpectrum(bool on);
    bool Snaps() const;
    // The switches as the user left them, under the given settings key.
    void ReadSettings(const QSettings& key);
    void WriteSettings(QSettings& key) const;

    // The stretch marked over empty sound, or none.
    std::optional<std::pair<int64_t, int64_t>> Marked() const;

    // The commands the view offers; the main window may also put them in its menus. While the
    // view has the focus: Left and Right scroll, Page Up and Page Down by a whole view, Home and
    // End go to the start and the end, Ctrl+Plus and Ctrl+Minus zoom about the playback cursor
    // (the middle when it is out of view), P plays the marked stretch, Esc drops the mark.
    QAction* aSnap = nullptr;
    QAction* aSpectrum = nullptr;
    QAction* aPlayStretch = nullptr;

signals:
    // A click asks the film to go there.
    void seekRequested(int64_t ms);
    // The context menu asks the film to play just the marked stretch.
    void playStretchRequested(int64_t fromMs, int64_t toMs);
    // A switch changed (to be stored).
    void switchesChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum class TGrab { None, Start, End, Whole, Mark };
    struct TDrag {
        TGrab Grab = TGrab::None;
        int Side = 0;
        int Index = -1;
        int32_t OldStart = 0, OldEnd = 0;
        int32_t Start = 0, End = 0;
        int64_t PressMs = 0;
        QPoint PressAt;
        bool Moved = false;
        bool NoSnap = false;
    };

    // The side whose half holds y (0 upper, 1 lower), and the body's rows of a side.
    int SideAt(int y) const;
    QRect HalfOf(int side) const;
    QRect Body() const;
    // The entry of the side under x, and which part of it: an edge within kGrabPixels first.
    int EntryAt(int side, double x, TGrab* grab) const;
    // The first entry that may show at or after ms (entries in time order).
    static int FirstFrom(const SubTitle& doc, int64_t ms);
    // The moment a dragged edge snaps to, or ms itself when nothing lies within kSnapPixels.
    int64_t Snapped(int64_t ms, int side) const;
    int64_t Length() const;
    void ClampView();
    // Zooms by factor (above 1: closer) about the moment at column x, which stays where it is.
    void ZoomAbout(double x, double factor);
    void Follow();
    void Tick();

    void PaintRuler(QPainter& p, double from, double to);
    // The sound and the keyframes, drawn into an image kept until the view moves, so that a
    // paint for the moving cursor only copies it.
    void PaintSound(QPainter& p, const QRect& body);
    void DrawWave(QImage& image) const;
    void DrawSpectrum(QImage& image) const;
    void DrawKeyframes(QImage& image) const;
    void PaintEntries(QPainter& p, int side, double from, double to);
    void PaintDragTimes(QPainter& p);
    // An entry's number and the start of its text, laid out for a region width pixels wide.
    const QStaticText& Label(int side, int index, int width, const QFontMetrics& fm);

    TEditorHost* host_;
    std::shared_ptr<const TSound> sound_;
    TWavePeaks peaks_; // over sound_'s waveform
    int64_t filmLength_ = 0;
    double viewStart_ = 0;
    double msPerPixel_ = 10;
    TDrag drag_;
    std::optional<std::pair<int64_t, int64_t>> marked_;
    // The playback cursor: the player's last report and when it came, run on between reports.
    QTimer* timer_ = nullptr;
    double reported_ = -1;
    QElapsedTimer sinceReport_;
    double cursorMs_ = 0;
    QHash<quint64, QStaticText> labels_;
    struct TLayerKey {
        double Start = -1, MsPerPixel = 0;
        QSize Size;
        bool Spectrum = false;
        const TSound* Sound = nullptr;
        bool operator==(const TLayerKey&) const = default;
    };
    TLayerKey layerKey_;
    QImage layer_;
};
