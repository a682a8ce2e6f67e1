#pragma once

#include <QPixmap>

// The Vondrix logo of the "Info" tab, drawn in code: a blue badge with a
// quiz-button "V" and the name.
QPixmap vondrixlogo();
