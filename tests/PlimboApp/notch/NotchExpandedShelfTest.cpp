#include "NotchExpandedShelf.h"
#include "FileActionButton.h"
#include "NotchCameraControl.h"
#include "NotchCameraStage.h"
#include "NotchCircleButton.h"
#include "NotchDropLandingZone.h"
#include "NotchFileShelfItem.h"
#include "NotchFileTray.h"
#include "NotchHarness.h"
#include "NotchShelfHeader.h"
#include "NotchSurfaceView.h"
#include "NotchTextButton.h"
#include "PlimboTheme.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// An image on the shelf shows its own picture once decoded; other files keep the desktop's icon.
TEST(NotchExpandedShelfTest, ImagesOnTheShelfShowTheirPicture) {
    NotchHarness n;
    n.controller->show(true);
    const QUrl photo =
        n.h.sourceFile(QStringLiteral("photo.png"), pngBytes(QSize(40, 30), Qt::red));
    const QUrl text = n.file(QStringLiteral("a.txt"));
    n.model->receiveDroppedFiles({photo, text});
    NotchFileTray& tray = n.controller->view().expandedShelf().fileTray();
    ASSERT_EQ(tray.tiles().size(), 2);
    ASSERT_TRUE(settle([&] { return tray.tiles().at(0)->showsThumbnail(); }));
    QTest::qWait(20);
    EXPECT_FALSE(tray.tiles().at(1)->showsThumbnail());
}

} // namespace
