#include "audit/sistemainformes.h"

using platform::ReportSystem;

ReportSystem* sistemaDeInformes(QObject* dueno) {
    auto* sistema = new ReportSystem(dueno, QStringLiteral("RvSystem1"));
    sistema->titleSetup = QStringLiteral("Opciones");
    sistema->titleStatus = QStringLiteral("Estado");
    sistema->titlePreview = QStringLiteral("Vista preliminar");
    sistema->systemOptions = ReportSystem::UseFiler | ReportSystem::ShowStatus |
                             ReportSystem::AllowPrintFromPreview | ReportSystem::PreviewModal;
    sistema->statusGenerating = QStringLiteral("Generando página %p");
    sistema->statusPrinting = QStringLiteral("Imprimiendo página %p");
    sistema->jobTitle = QStringLiteral("Reportes de inventario");
    sistema->previewMaximized = true;
    sistema->previewZoom = 100;
    sistema->printerScaleX = 100;
    sistema->printerScaleY = 100;
    sistema->unitsFactor = 1;
    return sistema;
}
