#include "toolkit/file_dialog.h"

#include <QDir>
#include <QFileDialog>

namespace vestral::toolkit {

namespace {
SaveFileScript& script_slot() {
    static SaveFileScript s;
    return s;
}
}  // namespace

SaveFileScript set_save_file_script(SaveFileScript script) {
    SaveFileScript old = std::move(script_slot());
    script_slot() = std::move(script);
    return old;
}

QString save_file_name(QWidget* parent, const SaveFileRequest& request) {
    if (script_slot()) return script_slot()(request);
    QFileDialog dialog(parent, request.title, QDir(request.directory).filePath(request.file_name),
                       request.filter);
    dialog.setObjectName("saveFileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.suffix.isEmpty()) dialog.setDefaultSuffix(request.suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace vestral::toolkit
