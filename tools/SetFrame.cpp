#include "SetFrame.h"

#include "Questions.h"

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

TSetFrameDlg::TSetFrameDlg(QWidget* parent)
    : TDialogBase(parent, "SetFrameDlg", QStringLiteral("設定Frame數"), QSize(209, 128)) {
    Bevel1 = Place(new QFrame(this), "Bevel1", QRect(2, 4, 203, 85));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);

    Label1 = new QLabel(QStringLiteral("請輸入每秒Frame數"), this);
    QFont labelFont(QStringLiteral("新細明體"));
    labelFont.setPixelSize(16);
    Label1->setFont(labelFont);
    Place(Label1, "Label1", QPoint(30, 20));

    cbFrame = new QComboBox(this);
    cbFrame->setEditable(true);
    // Typing a rate uses it; it does not grow the list.
    cbFrame->setInsertPolicy(QComboBox::NoInsert);
    cbFrame->addItems({QStringLiteral("23.976"), QStringLiteral("24.000"), QStringLiteral("25.000"),
                       QStringLiteral("29.970"), QStringLiteral("30.000")});
    cbFrame->setCurrentIndex(0);
    cbFrame->setMaxVisibleItems(5);
    Place(cbFrame, "cbFrame", QRect(30, 48, 145, cbFrame->sizeHint().height()));

    bbtnOK = Place(NewOkButton(), "bbtnOK", QRect(27, 98, 75, 25));
    bbtnOK->setDefault(true);
    connect(bbtnOK, &QPushButton::clicked, this, &QDialog::accept);

    bbtnCancel = Place(NewCancelButton(), "bbtnCancel", QRect(107, 98, 75, 25));

    setTabOrder(bbtnOK, cbFrame);
    setTabOrder(cbFrame, bbtnCancel);
    bbtnOK->setFocus();
    ApplyLanguage();
}

FrameRateQuestionWithProposal MakeFrameRateQuestion(TSetFrameDlg* dialog, QWidget* centreOn) {
    return [dialog = QPointer<TSetFrameDlg>(dialog), centreOn = QPointer<QWidget>(centreOn)](
               std::optional<double> proposed) -> std::optional<std::string> {
        if (!dialog) return std::nullopt;
        if (proposed) {
            QComboBox* box = dialog->cbFrame;
            int item = -1;
            for (int i = 0; i < box->count() && item < 0; ++i)
                if (box->itemText(i).toDouble() == *proposed) item = i;
            if (item >= 0)
                box->setCurrentIndex(item);
            else
                box->setEditText(QString::number(*proposed, 'g', 17));
        }
        if (dialog->ShowModalThroughQuestions(centreOn) != mrOk) return std::nullopt;
        return dialog->cbFrame->currentText().toStdString();
    };
}
