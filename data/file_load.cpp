// Loading a data-set file picked in the file list.
#include "app/form_tarvel.h"
#include "data/dsf_reader.h"
#include "data/list_format.h"
#include "ui/file_system.h"

namespace tarvel {

void Form_Tarvel::File1_Click()
{
    // The file is read and checked completely before anything is stored: a
    // file that fails leaves the former given points whole.
    const std::string fullName = ui::joinPath(c_.File1.path(), c_.File1.fileName());
    const std::optional<DataSet> data =
        c_.File1.fileName().empty() ? std::nullopt : readDataSetFile(fullName);
    if (!data) {
        showMessage("Hata oluştu");
        return;
    }
    nU = data->count;
    c_.Text_nU.setText(formatIndex(nU));
    lastU = nU - 1;
    for (int i = 0; i < data->count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        xU[at] = data->x[at];
        yU[at] = data->y[at];
    }
    existingPoints_ = nU;
    fileLoaded_ = true;
    dataSetName_ = c_.File1.fileName();
    c_.Frame_DataSet.setVisible(false);
}

}  // namespace tarvel
