// Circles and arcs whose radii are not 100 keep their figure through a save
// and a load of the binary view file: the file stores no radii, the writer
// folds them into the stored transform.
#include "dorneFiles.h"
#include "dorneGlTest.h"
#include "shapeSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class ViewFileCircles : public DorneDrawTest
{
};

TEST_F(ViewFileCircles, RadiiSurviveASaveInTheTransform)
{
    // An ellipse of radii 50 and 25, and an arc of radii 25 and 50 turned
    // and sheared by its transform.
    ELEMENT_STRUCT* list = shapes::curve(VD_CIRCLE, 80, 80, 50, 25);
    ELEMENT_STRUCT* arc = shapes::curve(VD_ARC, 180, 170, 25, 50);
    auto* a = static_cast<CIRCLE_STRUCT*>(arc->data);
    a->fill = 1;
    a->matrix[0] = 0.8f, a->matrix[1] = -0.6f, a->matrix[2] = 0.7f, a->matrix[3] = 0.9f;
    arc->update(arc);
    elementAppend(arc, &list);
    draw(list);
    const std::vector<uint8_t> before = readPixels(0, 0, kWidth, kHeight);
    // The ellipse reaches 50 along x and 25 along y.
    EXPECT_EQ(pixel(80 + 45, 80)[0], 255);
    EXPECT_EQ(pixel(80, 80 + 35)[0], 0);

    char name[] = "/tmp/dorneCirclesXXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    CONFIG_STRUCT config{};
    ASSERT_EQ(saveFile(name, list, nullptr, &config), 0);
    ELEMENT_STRUCT* loaded = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ASSERT_EQ(loadFile(name, &loaded, &sources, &config), 0);
    std::remove(name);
    ASSERT_NE(loaded, nullptr);
    for (ELEMENT_STRUCT* e = loaded; e != nullptr; e = e->next) {
        EXPECT_EQ(static_cast<CIRCLE_STRUCT*>(e->data)->rx, 100.0f);
        EXPECT_EQ(static_cast<CIRCLE_STRUCT*>(e->data)->ry, 100.0f);
    }

    clear(0, 0, 0, 1);
    draw(loaded);
    EXPECT_EQ(readPixels(0, 0, kWidth, kHeight), before) << "the same pixels";
    elementDeleteAll(&list);
    elementDeleteAll(&loaded);
}

} // namespace
