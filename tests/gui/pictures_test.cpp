// The pictures drawn in code: each comes in the size asked for, shows a picture rather than one colour,
// and no two of them look alike.
#include "gui/pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <set>
#include <vector>

namespace vmk::gui {
namespace {

struct Sample {
  const char* name;
  Picture picture;
  QSize size;
};

const std::vector<Sample> kSamples = {
    {"starting shield", Picture::ShieldStarting, {20, 20}},
    {"current shield", Picture::ShieldCurrent, {20, 20}},
    {"not-current shield", Picture::ShieldNotCurrent, {20, 20}},
    {"update available", Picture::UpdateAvailable, {20, 20}},
    {"help file", Picture::HelpFileButton, {22, 22}},
    {"help window", Picture::HelpWindowButton, {22, 22}},
    {"support message", Picture::SupportMessageButton, {32, 24}},
    {"close help", Picture::CloseHelpButton, {200, 40}},
    {"background", Picture::Background, {1018, 541}},
};

std::size_t DistinctColours(const QImage& image) {
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  }
  return colours.size();
}

TEST(Pictures, EachHasTheRequestedSizeAndIsNotOneFlatColour) {
  for (const Sample& sample : kSamples) {
    const QPixmap pixmap = DrawPicture(sample.picture, sample.size);
    ASSERT_FALSE(pixmap.isNull()) << sample.name;
    EXPECT_EQ(pixmap.size(), sample.size) << sample.name;
    EXPECT_GE(DistinctColours(pixmap.toImage()), 3u) << sample.name;
  }
  EXPECT_TRUE(DrawPicture(Picture::ShieldCurrent, QSize(0, 16)).isNull());
}

TEST(Pictures, NoTwoPicturesLookAlike) {
  std::vector<QImage> drawn;
  for (const Sample& sample : kSamples) drawn.push_back(DrawPicture(sample.picture, QSize(24, 24)).toImage());
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    for (std::size_t j = i + 1; j < drawn.size(); ++j)
      EXPECT_NE(drawn[i], drawn[j]) << kSamples[i].name << " / " << kSamples[j].name;
  }
}

TEST(Pictures, BackgroundStartsInTheDarkBlueOfTheWindowAndGrowsLighter) {
  const QImage background = DrawPicture(Picture::Background, QSize(1018, 541)).toImage();
  EXPECT_EQ(background.pixelColor(0, 0), QColor(11, 48, 84));
  EXPECT_GT(background.pixelColor(1017, 540).lightness(), background.pixelColor(0, 0).lightness() + 60);
}

}  // namespace
}  // namespace vmk::gui
