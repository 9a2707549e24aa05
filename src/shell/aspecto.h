#pragma once

class QApplication;

// The console's look: Qt's Fusion style with a calm blue-grey palette, the
// same on every desktop.
void aplicarAspecto(QApplication& app);
