#include "framework/button_faces.h"

#include "framework/command_ids.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

namespace vexa {
namespace {

TEST(ButtonFaces, EveryButtonHasItsOwnFaceAtOneAndTwoTimes) {
    const int ids[] = {CmOpen, CmFit, CmModeScene, CmModePhoto, CmGather, CmJudge, CmHintMode, CmBarPlace};
    for (int ratio : {1, 2}) {
        SCOPED_TRACE(ratio);
        std::vector<QImage> faces;
        for (int id : ids) {
            SCOPED_TRACE(id);
            const QPixmap pixmap = ButtonFace(id).pixmap(QSize(kFaceSize, kFaceSize), ratio);
            const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(image.size(), QSize(kFaceSize * ratio, kFaceSize * ratio)) << "drawn, not scaled";
            int opaque = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) opaque += qAlpha(image.pixel(x, y)) > 0;
            EXPECT_GT(opaque, image.width() * image.height() / 8);
            for (const QImage& other : faces) EXPECT_NE(image, other);
            faces.push_back(image);
        }
    }
}

}  // namespace
}  // namespace vexa
