#include "ui/shell/mdirtf.h"

// The symbols-section tools of the editor: the scan that fills the Line Builder's
// "Symbols Used" branch, and the Sort Symbol formatter. Neither is wired in yet.

void TRTFForm::ScanSymbols() {}

void TRTFForm::FormatCogClick() {}
