#include "export/mainwindowexport.h"

#include "editor/saldrixmain.h"
#include "export/saldrixwizard.h"

TfrmSaldrixWizard *createExportWizard(TfrmSaldrixMain &mainWindow)
{
    auto *wizard = new TfrmSaldrixWizard(*mainWindow.document(), mainWindow.dialogs(), &mainWindow);
    TfrmSaldrixMain *window = &mainWindow;
    wizard->setDocumentFileNameSource([window] { return window->fileName(); });
    wizard->setDocumentBusySource([window] { return window->isLoading(); });
    QObject::connect(window, &TfrmSaldrixMain::exportRequested, wizard,
        [window, wizard] { wizard->actFileExportCDExecute(window->fileName()); });
    return wizard;
}
