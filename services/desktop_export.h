#pragma once
// The desktop's side of the export: its default application for workbooks and its clipboard.

#include "services/export_grid.h"

namespace lavodc {

class DesktopOpener : public ExportOpener {
public:
    bool OpenWorkbook(const QString& path, QString& reason) override;
};

class SystemClipboard : public ExportClipboard {
public:
    void SetText(const QString& text) override;
};

} // namespace lavodc
