#pragma once
// The splitter between the editor region and the video region. It keeps the video region's
// share of the height the two divide: a taller window makes both taller, a drag of the handle
// sets a new share, and showing a hidden region puts the share back.
#include <QSplitter>

class TRegionSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit TRegionSplitter(QWidget* parent = nullptr);

    // The last widget's share of the room, above 0 and below 1.
    double Share() const { return share_; }
    // Takes the share and sizes the widgets by it.
    void SetShare(double share);
    // The height the two widgets divide while both show (without the handle); 0 otherwise.
    int Room() const;
    // Sizes the two widgets by the share, each at least its minimum height.
    void ApplyShare();
    // At most this height for the last widget (0: none at all), whatever the share, until
    // lifted with -1; the share itself is kept for then, and a drag does not change it.
    void SetLastCap(int height);
    int LastCap() const { return cap_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool BothShown() const;

    double share_ = 0.4;
    int cap_ = -1;
};
