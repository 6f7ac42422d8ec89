#include "DialogGroups.h"

#include "TimeParts.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

template <class T> T* Named(T* control, const char* objectName, const QRect& geometry) {
    control->setObjectName(QString::fromLatin1(objectName));
    control->setGeometry(geometry);
    return control;
}

} // namespace

void BuildRangeGroup(QGroupBox* box, const TRangeGroup& g) {
    g.SelectAll = Named(new QRadioButton(QStringLiteral("全部"), box), "rbtnSelectAll",
                        QRect(10, 20, 60, 17));
    g.SelectRange = Named(new QRadioButton(QStringLiteral("指定範圍"), box), "rbtnSelectRange",
                          QRect(80, 20, 90, 17));
    g.SelectAll->setChecked(true);
    g.Start = NumberBox(box, g.StartLabel, "leStartNoLabel", QStringLiteral("開始編號"),
                        QPoint(10, 46), "upStartNo", "leStartNo", QRect(64, 42, 90, 21), g.StartEdit);
    g.End = NumberBox(box, g.EndLabel, "leEndNoLabel", QStringLiteral("結束編號"), QPoint(172, 46),
                      "upEndNo", "leEndNo", QRect(226, 42, 90, 21), g.EndEdit);
}

void EnableRangeNumbers(const TRangeGroup& g, bool enabled) {
    for (QWidget* w : {static_cast<QWidget*>(g.StartLabel), static_cast<QWidget*>(g.Start),
                       static_cast<QWidget*>(g.EndLabel), static_cast<QWidget*>(g.End)})
        w->setEnabled(enabled);
}

void BuildFileLine(QGroupBox* box, int x, QLineEdit*& path, const char* pathName,
                   QToolButton*& button, const char* buttonName, const char* themeIcon,
                   QStyle::StandardPixmap icon) {
    const int buttonX = box->width() - 32;
    path = Named(new QLineEdit(box), pathName, QRect(x, 44, buttonX - 4 - x, 18));
    path->setReadOnly(true);
    path->setFrame(false);
    button = Named(new QToolButton(box), buttonName, QRect(buttonX, 40, 24, 24));
    button->setIcon(
        QIcon::fromTheme(QString::fromLatin1(themeIcon), box->style()->standardIcon(icon)));
    button->setAutoRaise(true);
}

void BuildSourceGroup(QGroupBox* box, QRadioButton*& opposite, QRadioButton*& file,
                      QLineEdit*& path, QToolButton*& button, const char* buttonName) {
    opposite = Named(new QRadioButton(QStringLiteral("右側字幕"), box), "rbtnOpposite",
                     QRect(10, 20, 110, 17));
    file = Named(new QRadioButton(QStringLiteral("字幕檔案"), box), "rbtnSubFile",
                 QRect(130, 20, 110, 17));
    opposite->setChecked(true);
    BuildFileLine(box, 10, path, "etSubFile", button, buttonName, "document-open",
                  QStyle::SP_DialogOpenButton);
}
