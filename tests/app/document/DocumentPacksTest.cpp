#include "DocumentFixture.h"
#include "app/document/DocumentHints.h"
#include "model/PackTestSupport.h"
#include "records/DataVersion.h"

#include <QImage>

#include <cerrno>
#include <cstring>

namespace doctest {
namespace {

constexpr uint32_t portraitProduct = packtest::portrait;
constexpr uint32_t groupProduct = packtest::group;

class DocumentPacks : public DocumentTest {
protected:
    void SetUp() override
    {
        ResetGlobalProductCatalog();
        packtest::AddGlobalProduct({ packtest::portrait, "7x5" });
        packtest::AddGlobalProduct({ packtest::group, "G10x8", [](ProductFields& f) { f.Group = true; } });
        DocumentTest::SetUp();
    }
    void TearDown() override
    {
        DocumentTest::TearDown();
        ResetGlobalProductCatalog();
        ResetSavedDataVersion();
    }

    // A pack template file of the given packs, each holding one product.
    std::string WriteTemplate(std::initializer_list<uint32_t> products)
    {
        PacksCollection packs;
        for (const uint32_t product : products)
            packs.AddPack(packtest::MakePack(
                "pack of " + std::to_string(product), 1000, { { product, 1, false, false } }));
        std::ostringstream out;
        packs.WriteCsv(out);
        const std::string path = Path("Packs.csv");
        WriteBytes(path, out.str());
        return path;
    }

    static void SetPackTemplatePath(const std::string& path)
    {
        ProgramOptions::Instance().packDetailsPath = path;
    }
    static void SetSamplePaths(const std::string& portrait, const std::string& group)
    {
        ProgramOptions::Instance().portraitSamplePath = portrait;
        ProgramOptions::Instance().groupSamplePath = group;
    }

    uint32_t RepeatCount(const std::string& unit)
    {
        return document->GetLayout().GetRootUnit()->FindByName(unit)->GetRepeatCount();
    }
};

TEST_F(DocumentPacks, CountsPortraitAndGroupPacksIntoThePackUnits)
{
    SetPackTemplatePath(
        WriteTemplate({ portraitProduct, groupProduct, portraitProduct, groupProduct, portraitProduct }));
    EXPECT_TRUE(document->LoadPackTemplate());
    EXPECT_EQ(document->GetPacks().GetPackCount(), 5u);
    EXPECT_EQ(RepeatCount("PPacks"), 3u);
    EXPECT_EQ(TakeHints(), Hints { hint::layoutValues });
    for (const int32_t type : { 1, 2 }) {
        document->GetLayout().SetLayoutType(type);
        document->UpdatePackCounts();
        EXPECT_EQ(RepeatCount(type == 1 ? "GPacks" : "CGPacks"), 2u);
    }
}

TEST_F(DocumentPacks, AnEmptyPathKeepsThePacksAndWritesTheirCounts)
{
    SetPackTemplatePath("");
    document->GetLayout().GetRootUnit()->FindByName("PPacks")->SetRepeatCount(9);
    EXPECT_FALSE(document->LoadPackTemplate());
    EXPECT_EQ(RepeatCount("PPacks"), 0u);
    EXPECT_EQ(TakeHints(), Hints { hint::layoutValues });
}

TEST_F(DocumentPacks, AFileThatIsNotATemplateOrIsMissingKeepsThePacks)
{
    SetPackTemplatePath(WriteTemplate({ groupProduct, portraitProduct }));
    ASSERT_TRUE(document->LoadPackTemplate());
    const std::string notTemplate = Path("layout.txt");
    WriteBytes(notTemplate, LayoutBytes(document->GetLayout()));
    const std::string missing = Path("gone.csv");
    modal->AnswerNext(win::IDOK);
    modal->AnswerNext(win::IDOK);

    SetPackTemplatePath(notTemplate);
    EXPECT_FALSE(document->LoadPackTemplate());
    SetPackTemplatePath(missing);
    EXPECT_FALSE(document->LoadPackTemplate());

    ASSERT_EQ(modal->Messages().size(), 2u);
    EXPECT_EQ(modal->Messages()[0].text, notTemplate + " is not a pack template file");
    EXPECT_EQ(modal->Messages()[1].text, "Could not open file: " + missing + "\n" + std::strerror(ENOENT));
    EXPECT_EQ(document->GetPacks().GetPackCount(), 2u);
    EXPECT_EQ(RepeatCount("PPacks"), 1u);
}

TEST_F(DocumentPacks, NewReloadsThePackTemplateOnlyAfterStartUp)
{
    SetPackTemplatePath(WriteTemplate({ portraitProduct, portraitProduct }));
    document->OnNewDocument();
    EXPECT_EQ(document->GetPacks().GetPackCount(), 0u);
    document->InitTitleAndPacks();
    document->OnNewDocument();
    EXPECT_EQ(RepeatCount("PPacks"), 2u);
}

// The sample pictures are cropped to the shape of the image unit they are drawn in.
TEST_F(DocumentPacks, SamplePicturesAreCroppedToTheirUnits)
{
    const std::string portrait = Path("PortraitSample.jpg");
    const std::string group = Path("GroupSample.jpg");
    ASSERT_TRUE(qttest::WhiteImage(600, 600, 96).save(QString::fromStdString(portrait)));
    ASSERT_TRUE(qttest::WhiteImage(1000, 500, 96).save(QString::fromStdString(group)));
    SetSamplePaths(portrait, group);
    for (const int32_t type : { 0, 1, 2 }) {
        document->GetLayout().SetLayoutType(type);
        document->LoadSampleImages();
        for (const auto& [path, unitName] : { std::pair { portrait, "PImage" }, std::pair { group, "GImage" },
                 std::pair { group, "CGImage" } }) {
            const LayoutUnit* unit = document->GetLayout().GetRootUnit()->FindByName(unitName);
            if (unit == nullptr)
                continue;
            ImageResult result;
            const ImageCache::Picture picture = GetImageCache().GetImage(path, result);
            ASSERT_NE(picture, nullptr) << unitName << " " << result.message;
            const PLCoord size = picture->GetSize();
            const double pictureRatio = double(std::max(size.x, size.y)) / std::min(size.x, size.y);
            const double unitRatio = double(std::max(unit->GetWidth(), unit->GetHeight()))
                / std::min(unit->GetWidth(), unit->GetHeight());
            EXPECT_NEAR(pictureRatio, unitRatio, 0.01) << unitName << " of type " << type;
        }
    }
}

} // namespace
} // namespace doctest
