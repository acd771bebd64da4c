#pragma once

#include <QString>

class DocumentTree;

// Appends the sections and options of the named file to the tree, in file order. A name that
// does not exist loads nothing. Throws SaldrixError("Unable to read %s") for a file that exists
// but cannot be read.
void LoadTreeFromIni(DocumentTree &tree, const QString &fileName);

// Replaces the named file by one holding the tree's named sections with their named options.
// Throws SaldrixError("Unable to write to %s") and leaves the old file as it was on failure.
void SaveTreeToIni(const DocumentTree &tree, const QString &fileName);
