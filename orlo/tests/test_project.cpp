#include "Profile.h"
#include "Project.h"
#include "StdoutCapture.h"
#include "TestRecords.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <set>

using KAVO::Profile;
using KAVO::ProfileParameter;
using KAVO::Project;
using testsupport::StdoutCapture;
using testsupport::TempDir;

namespace {

const char* const ProjectProfile = R"(<BrevantoProfile name="project">
  <Device name="Engine">
    <Parameter name="Speed" id="1" dataType="FLOAT"/>
    <Parameter name="Oil" id="2" dataType="SHORT"/>
    <Parameter name="Grüße" id="3" dataType="SHORT"/>
  </Device>
  <Device name="GPS">
    <Parameter name="Lat" id="4" dataType="LONG"/>
    <Parameter name="Alt" id="5" dataType="FLOAT"/>
  </Device>
</BrevantoProfile>)";

class ProjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::loadProfileText(mDir.path(), ProjectProfile));
    }

    static ProfileParameter& parameter(const QString& fullName)
    {
        for (auto& d : Profile::instance()->data().mDevices)
            for (auto& p : d.second.mParameters)
                if (p.second.mFullName == fullName)
                    return p.second;
        static ProfileParameter none;
        ADD_FAILURE() << "no parameter " << fullName.toStdString();
        return none;
    }

    static std::set<QString> selected()
    {
        std::set<QString> names;
        for (const auto& d : Profile::instance()->data().mDevices)
            for (const auto& p : d.second.mParameters)
                if (p.second.mSelected)
                    names.insert(p.second.mFullName);
        return names;
    }

    static void select(const std::set<QString>& names)
    {
        for (auto& d : Profile::instance()->data().mDevices)
            for (auto& p : d.second.mParameters)
                p.second.mSelected = names.count(p.second.mFullName) != 0;
    }

    TempDir mDir;
};

TEST_F(ProjectTest, SavedSelectionReadsBackInProfileOrder)
{
    const std::set<QString> chosen = {"GPS/Alt", "Engine/Grüße", "Engine/Speed"};
    select(chosen);
    const QString path = mDir.file("my.kpr");
    ASSERT_TRUE(Project::instance()->saveProject(path));

    // Devices by id, parameters in file order, 4 blanks of indentation, no declaration.
    const QByteArray expected = "<KavoProject>\n"
                                "    <Parameters>\n"
                                "        <Parameter name=\"Engine/Speed\"/>\n"
                                "        <Parameter name=\"Engine/Grüße\"/>\n"
                                "        <Parameter name=\"GPS/Alt\"/>\n"
                                "    </Parameters>\n"
                                "</KavoProject>\n";
    EXPECT_EQ(testsupport::readFile(path), expected);

    Project::instance()->clear();
    EXPECT_TRUE(selected().empty());
    ASSERT_TRUE(Project::instance()->readProject(path));
    EXPECT_EQ(selected(), chosen);
    EXPECT_EQ(Project::instance()->names().size(), 3u);
}

TEST_F(ProjectTest, UnknownNamesAreIgnoredAndOtherRootsAccepted)
{
    const QString path = mDir.file("other.kpr");
    ASSERT_TRUE(testsupport::writeFile(path, R"(<SomethingElse>
        <Parameters>
            <Parameter name="Engine/Oil"/>
            <Parameter name="Engine/Missing"/>
            <Parameter/>
            <Other name="GPS/Lat"/>
        </Parameters>
        <Ignored><Parameter name="GPS/Alt"/></Ignored>
        <Parameters><Parameter name="GPS/Lat"/></Parameters>
    </SomethingElse>)"));
    select({"Engine/Speed"});
    ASSERT_TRUE(Project::instance()->readProject(path));
    EXPECT_EQ(selected(), (std::set<QString>{"Engine/Oil", "GPS/Lat"}));
    // The unknown names stay in the set, unused.
    EXPECT_EQ(Project::instance()->names().count("Engine/Missing"), 1u);
    EXPECT_EQ(Project::instance()->names().count(""), 1u);

    // Saving writes the selection, not the set.
    const QString out = mDir.file("saved.kpr");
    ASSERT_TRUE(Project::instance()->saveProject(out));
    EXPECT_FALSE(testsupport::readFile(out).contains("Missing"));
}

TEST_F(ProjectTest, AnEmptySelectionWritesAnEmptyListAndReadsBackAsNothing)
{
    select({});
    const QString path = mDir.file("empty.kpr");
    ASSERT_TRUE(Project::instance()->saveProject(path));
    EXPECT_EQ(testsupport::readFile(path), QByteArray("<KavoProject>\n    <Parameters/>\n</KavoProject>\n"));

    select({"Engine/Speed", "GPS/Lat"});
    ASSERT_TRUE(Project::instance()->readProject(path));
    EXPECT_TRUE(selected().empty());
}

TEST_F(ProjectTest, AFailedReadLeavesTheSelection)
{
    const std::set<QString> chosen = {"Engine/Oil"};
    select(chosen);

    StdoutCapture missingOut;
    EXPECT_FALSE(Project::instance()->readProject(mDir.file("missing.kpr")));
    EXPECT_TRUE(missingOut.text().contains("could not open file <"));
    EXPECT_EQ(selected(), chosen);
    EXPECT_TRUE(Project::instance()->names().empty());

    const QString broken = mDir.file("broken.kpr");
    ASSERT_TRUE(testsupport::writeFile(broken, "<KavoProject><Parameters><Parameter name=\"GPS/Lat\""));
    StdoutCapture brokenOut;
    EXPECT_FALSE(Project::instance()->readProject(broken));
    EXPECT_TRUE(brokenOut.text().contains("could not set content <"));
    EXPECT_EQ(selected(), chosen);
}

TEST_F(ProjectTest, AFailedWriteIsReported)
{
    select({"Engine/Speed"});
    StdoutCapture out;
    EXPECT_FALSE(Project::instance()->saveProject(mDir.file("no/such/folder/p.kpr")));
    // A folder where the file should be.
    EXPECT_FALSE(Project::instance()->saveProject(mDir.path()));
    EXPECT_FALSE(out.text().isEmpty()) << "a diagnostic";

    const QString path = mDir.file("kept.kpr");
    ASSERT_TRUE(Project::instance()->saveProject(path));
    const QByteArray before = testsupport::readFile(path);
    select({"GPS/Lat"});
    ASSERT_TRUE(Project::instance()->saveProject(path));
    EXPECT_NE(testsupport::readFile(path), before) << "a successful save replaces the file";
}

TEST_F(ProjectTest, ClearAndAReloadedProfileUnselectEverything)
{
    select({"Engine/Speed", "GPS/Alt"});
    Project::instance()->clear();
    EXPECT_TRUE(selected().empty());
    EXPECT_TRUE(Project::instance()->names().empty());

    // A reloaded profile starts unselected; applying the set again restores it.
    const QString path = mDir.file("p.kpr");
    select({"GPS/Alt"});
    ASSERT_TRUE(Project::instance()->saveProject(path));
    ASSERT_TRUE(Project::instance()->readProject(path));
    SetUp();
    EXPECT_TRUE(selected().empty());
    Project::instance()->setProfileData();
    EXPECT_EQ(selected(), (std::set<QString>{"GPS/Alt"}));
}

} // namespace
