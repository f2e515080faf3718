#pragma once
// The cockpit editor's page of the cockpit graphics: the transfers of the
// software and hardware cockpits, and the cockpit sheet saved as or loaded
// from one BMP.

#include "CockpitPage.h"

namespace pitwall::gui {

class CockpitGraphicsPage : public CockpitPage {
    Q_OBJECT
public:
    CockpitGraphicsPage(CockpitPageContext& context, int number, QWidget* parent);

    int statusItem() const override;

private:
    void saveSheet();
    void loadSheet();
};

} // namespace pitwall::gui
