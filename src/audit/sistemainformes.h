#pragma once

#include "platform/reports/reportsystem.h"

class QObject;

// The report system of the console's report windows (audit reports and the
// access-rights report), with the titles, status texts and preview settings
// they share.
platform::ReportSystem* sistemaDeInformes(QObject* dueno);
