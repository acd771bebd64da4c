#pragma once

class TfrmSaldrixMain;
class TfrmSaldrixWizard;

// Creates the export wizard, hidden, as a child window of the main window (it never blocks it and
// goes with it), and ties the main window's Export command to it: each request proposes a name
// from the window's current file and shows the wizard; Done exports the window's document as it
// stands, refuses to write over the document's own file, and waits while a file is being read.
TfrmSaldrixWizard *createExportWizard(TfrmSaldrixMain &mainWindow);
