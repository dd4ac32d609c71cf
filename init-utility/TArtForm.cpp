#include "TArtForm.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Edits.h"
#include "Executor.h"

namespace prendix {

using qmr::ui::Make;

TArtForm::TArtForm(QWidget* parent) : Form(parent, "ArtForm", "Articles report", 436, 174) {
    GroupBox1 = Make<QGroupBox>(this, "GroupBox1", 10, 8, 236, 156, QStringLiteral(" Report type "));
    int row = 0;
    auto radio = [&](const char* name, const QString& caption) {
        return Make<QRadioButton>(GroupBox1, name, 10, 22 + 26 * row++, 220, 24, caption);
    };
    PgmArt = radio("PgmArt", QStringLiteral("Programmed articles"));
    SoldArt = radio("SoldArt", QStringLiteral("Sold articles"));
    SoldArtV = radio("SoldArtV", QStringLiteral("Sold articles (storno receipts)"));
    GroupArt = radio("GroupArt", QStringLiteral("By group"));
    GroupArtV = radio("GroupArtV", QStringLiteral("By group (storno receipts)"));
    PgmArt->setChecked(true);
    Label1 = Make<QLabel>(this, "Label1", 258, 16, 70, 24, QStringLiteral("From:"));
    FromBox = Make<QLineEdit>(this, "FromBox", 330, 16, 96, 24, QStringLiteral("1"));
    qmr::ui::LimitTyping(*FromBox, 9);
    Label2 = Make<QLabel>(this, "Label2", 258, 48, 70, 24, QStringLiteral("To:"));
    ToBox = Make<QLineEdit>(this, "ToBox", 330, 48, 96, 24, QStringLiteral("999999999"));
    qmr::ui::LimitTyping(*ToBox, 9);
    Label3 = Make<QLabel>(this, "Label3", 258, 80, 70, 24, QStringLiteral("Password:"));
    PwdBox = Make<QLineEdit>(this, "PwdBox", 330, 80, 96, 24);
    qmr::ui::LimitTyping(*PwdBox, 8);
    qmr::ui::MakePasswordEdit(*PwdBox);
    OkBt = Make<QPushButton>(this, "OkBt", 330, 136, 96, 28, QStringLiteral("Print"));
    connect(OkBt, &QPushButton::clicked, this, &TArtForm::OkBtClick);
    connect(this, &Form::Shown, this, [this] { qmr::ui::CentreOnScreen(*this); });
}

ArticleKind TArtForm::Kind() const {
    if (PgmArt->isChecked()) return ArticleKind::Programmed;
    if (SoldArt->isChecked()) return ArticleKind::Sold;
    if (SoldArtV->isChecked()) return ArticleKind::SoldStorno;
    if (GroupArt->isChecked()) return ArticleKind::ByGroup;
    return ArticleKind::ByGroupStorno;
}

void TArtForm::OkBtClick() {
    const std::uint32_t from = ReadArticleNumber(qmr::ToCp1251(FromBox->text()));
    const std::uint32_t to = ReadArticleNumber(qmr::ToCp1251(ToBox->text()));
    qmr::ExecCommand(qmr::PrintArticlesReport, ArticlesReportData(qmr::ToCp1251(PwdBox->text()), Kind(), from, to));
}

}  // namespace prendix
