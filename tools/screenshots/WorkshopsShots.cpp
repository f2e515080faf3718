#include "WorkshopsShots.h"

#include "ArtBankPage.h"
#include "JamWorkshopPage.h"
#include "MainWindow.h"
#include "WorkshopsWindow.h"
#include "ZoomView.h"
#include "base/GamePath.h"
#include "formats/JamFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QTabWidget>
#include <iostream>

using namespace pitwall;
using namespace pitwall::gui;

namespace {

void Shoot(QWidget* w, const QString& file)
{
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::cerr << "cannot write " << file.toStdString() << '\n';
}

} // namespace

void SaveWorkshopsShots(MainWindow& window, const std::string& game, const QString& out)
{
    window.openEditor("TForm20");
    auto* workshops = qobject_cast<WorkshopsWindow*>(window.currentEditor());
    if (!workshops)
        return;
    workshops->resize(980, 680);
    workshops->show();
    ArtBankPage* art = workshops->artPage();
    art->findChild<QCheckBox*>("CheckBoxArtGrid")->setChecked(true);
    art->list()->setCurrentRow(754);
    QApplication::processEvents();
    art->grid()->scrollToItem(art->grid()->item(754));
    Shoot(workshops, out + "/workshops-art-bank.png");

    workshops->pages()->setCurrentWidget(workshops->jamPage());
    JamWorkshopPage* jam = workshops->jamPage();
    if (jam->openJam(ResolveGamePath(game, "GP3JAMS\\Liveries\\JORDAN98.JAM")) && jam->jam()->imageCount() > 1) {
        // The largest image, so that 4x fills the view.
        int largest = 0;
        for (int i = 1; i < jam->jam()->imageCount(); ++i) {
            const Rect a = jam->jam()->ImageRect(i), b = jam->jam()->ImageRect(largest);
            if (a.width() * a.height() > b.width() * b.height())
                largest = i;
        }
        const Rect r = jam->jam()->ImageRect(largest);
        jam->pickImageAt(QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2), Qt::LeftButton);
        jam->view()->setZoom(4, QPoint(0, 0));
        jam->showPixelUnderMouse(QPoint(r.width() / 2, r.height() / 2));
    }
    Shoot(workshops, out + "/workshops-jam.png");
    workshops->hide();
}
