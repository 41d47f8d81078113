// Pictures of a scripted run: one as the dialog opens and one after each
// step that changed it, each the dialog's size and not blank.
#include "MirrorHarness.h"
#include "TempDir.h"
#include "mfc/SampleDialog.h"
#include "qtview/ScreenshotDriver.h"

#include <QImage>

#include <filesystem>

using nd::win32::UiStep;

namespace {

class ScreenshotRun : public ndtest::MirrorTest {
  protected:
    TempDir dir;
    nd::win32::ScriptedDriver steps{[](const std::string& m) { ADD_FAILURE() << m; }};
};

TEST_F(ScreenshotRun, APictureAsTheDialogOpensAndAfterEachStepThatChangesIt) {
    nd::qtview::ScreenshotDriver pictures(mirror, dir.path().string(), &steps);
    auto* previous = nd::win32::setUiDriver(&pictures);
    steps.expectDialog(sample::kTemplateId,
                       {UiStep::type(sample::kName, u"Ann"), UiStep::advance(10),
                        UiStep::select(sample::kList, {1}), UiStep::click(IDOK)});
    sample::CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    nd::win32::setUiDriver(previous);

    EXPECT_EQ(pictures.error(), "");
    ASSERT_EQ(pictures.written().size(), 3u) << "the wait changed nothing and OK closed it";
    EXPECT_EQ(std::filesystem::path(pictures.written()[0]).filename(), "001-500.png");
    EXPECT_EQ(std::filesystem::path(pictures.written()[2]).filename(), "003-500.png");
    QImage first(QString::fromStdString(pictures.written()[0]));
    for (const auto& path : pictures.written()) {
        QImage image(QString::fromStdString(path));
        ASSERT_FALSE(image.isNull()) << path;
        EXPECT_EQ(image.size(), first.size()) << path;
        EXPECT_GT(ndtest::colourCount(image), 10) << path;
    }
    EXPECT_NE(QImage(QString::fromStdString(pictures.written()[1])), first)
        << "the typed name shows in the second picture";
}

TEST_F(ScreenshotRun, WithoutStepsEachDialogIsPicturedOnceAndClosed) {
    nd::qtview::ScreenshotDriver pictures(mirror, dir.path().string(), nullptr);
    auto* previous = nd::win32::setUiDriver(&pictures);
    sample::CSampleDlg dlg;
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(MessageBoxW(nullptr, u"Delete?", u"", MB_YESNO), IDNO);
    nd::win32::setUiDriver(previous);
    ASSERT_EQ(pictures.written().size(), 2u);
    // The box is pictured too, with its text and buttons: not blank, wider
    // than its two buttons.
    EXPECT_EQ(std::filesystem::path(pictures.written()[1]).filename(), "002-box.png");
    QImage box(QString::fromStdString(pictures.written()[1]));
    EXPECT_GT(box.width(), 100);
    EXPECT_GT(ndtest::colourCount(box), 10);
}

TEST_F(ScreenshotRun, AMessageBoxPictureIsNamedByItsStringAndItsAnswerIsTheScripts) {
    nd::qtview::ScreenshotDriver pictures(mirror, dir.path().string(), &steps);
    auto* previous = nd::win32::setUiDriver(&pictures);
    steps.expectMessageBox(nd::win32::MessageBoxAnswer(11906, u"", IDYES));
    nd::win32::MessageBoxRequest request;
    request.text = u"Overwrite?";
    request.style = MB_YESNO | MB_ICONQUESTION;
    request.stringId = 11906;
    EXPECT_EQ(nd::win32::showMessageBox(request), IDYES);
    nd::win32::setUiDriver(previous);
    ASSERT_EQ(pictures.written().size(), 1u);
    EXPECT_EQ(std::filesystem::path(pictures.written()[0]).filename(), "001-box-11906.png");
}

TEST_F(ScreenshotRun, AFolderThatCannotBeWrittenIsReportedNotIgnored) {
    nd::qtview::ScreenshotDriver pictures(mirror, (dir.path() / "missing").string(), nullptr);
    auto* previous = nd::win32::setUiDriver(&pictures);
    sample::CSampleDlg dlg;
    dlg.DoModal();
    nd::win32::setUiDriver(previous);
    EXPECT_TRUE(pictures.written().empty());
    EXPECT_NE(pictures.error().find("cannot write"), std::string::npos) << pictures.error();
}

}  // namespace
