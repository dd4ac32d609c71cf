#include "TArtForm.h"

#include "Commands.h"
#include "Cp1251.h"
#include "Executor.h"
#include "ReportControls.h"

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
    std::tie(Label1, FromBox) = MakeEditRow(this, "Label1", "From:", "FromBox", 258, 330, 16, 96, 9, "1");
    std::tie(Label2, ToBox) = MakeEditRow(this, "Label2", "To:", "ToBox", 258, 330, 48, 96, 9, "999999999");
    std::tie(Label3, PwdBox) = MakePasswordRow(this, "Label3", 258, 330, 80, 96);
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
