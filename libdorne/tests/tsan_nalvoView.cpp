// The class facade's getVar, setVar and setEvent from a second thread while
// the view's data thread runs, under ThreadSanitizer (see
// nalvoViewSupport.h).
#include "nalvoViewSupport.h"

namespace {

TEST(FacadeThreads, UsedFromAnotherThreadWhileTheDataThreadRuns)
{
    facadetest::Folder folder;
    ASSERT_FALSE(folder.path.empty());
    const std::string path = folder.file("facade.v");
    ASSERT_TRUE(facadetest::writeFacadeView(path));
    facadetest::useFromAnotherThread(path);
}

} // namespace
