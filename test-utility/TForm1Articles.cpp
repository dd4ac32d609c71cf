// The articles file: loading it into the grid and saving the grid to it.
#include <QFileInfo>
#include <utility>

#include "ArticleFile.h"
#include "Cp1251.h"
#include "TForm1.h"

namespace vextora {

namespace {

// Both dialogs offer articles files, with no name chosen yet.
void PrepareArticlesDialog(qmr::ui::FileDialog& dialog, const char* filter) {
    dialog.DefaultExt = QStringLiteral("ART");
    dialog.FileName.clear();
    dialog.Filter = QString::fromLatin1(filter);
    dialog.FilterIndex = 1;
}

}  // namespace

void TForm1::LoadMClick() {
    PrepareArticlesDialog(OpenFileDlg, "Articles data (*.art)|*.ART");
    if (!OpenFileDlg.Execute()) return;
    auto table = LoadArticleFile(OpenFileDlg.FileName);
    if (!table) {
        qmr::ui::MessageBox(QStringLiteral("Can't read file"), QStringLiteral("Error"), qmr::MbOk);
        return;
    }
    ArtTable->Model().SetTable(std::move(*table));
}

void TForm1::SaveMClick() {
    PrepareArticlesDialog(SaveFileDlg, "Articled data (*.art)|*.ART");
    if (!SaveFileDlg.Execute()) return;
    const QString path = SaveFileDlg.FileName;
    if (QFileInfo::exists(path) &&
        qmr::ui::MessageBox(QStringLiteral("File exists. Overwrite?"), QStringLiteral("Warning"), qmr::MbYesNo) != qmr::IdYes)
        return;
    const SavedArticles saved = FormatArticleFile(ArtTable->Model().Table());
    // The old file stays as it was unless the new one was written whole.
    if (!WriteFileSafely(path, saved.file))
        qmr::ui::MessageBox(QStringLiteral("Can't write file"), QStringLiteral("Error"), qmr::MbOk);
    else if (!saved.refused.empty())
        qmr::ui::MessageBox(qmr::FromCp1251(RefusedArticlesMessage(saved.refused)), QStringLiteral("Error"), qmr::MbOk);
}

}  // namespace vextora
