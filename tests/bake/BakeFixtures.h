#pragma once
// What the bake tests share: an off-screen context with a scene to render,
// a working object file cloned from the sample game, the preview composed
// from it, and pictures of what was made for people to look at.

#include "bake/BakedImage.h"
#include "bake/SpriteBake.h"
#include "objects/CObjectFile.h"
#include "objects/ObjectPreview.h"
#include "scene/ActiveGLContext.h"
#include "scene/COGLScene.h"
#include "scene/HeadlessGLContext.h"
#include "tests/testkit/RecordingReporter.h"
#include "tests/testkit/TestFiles.h"

#include <memory>
#include <string>

namespace zelvane::test {

// An off-screen context, active and current for the stage's life, and a
// scene in it without the floor and walls (which a bake never draws), with
// the editor's three lights or none.
enum class StageLights { Editor, None };

class BakeStage {
public:
    explicit BakeStage(StageLights lights = StageLights::Editor);
    ~BakeStage();
    BakeStage(const BakeStage&) = delete;
    BakeStage& operator=(const BakeStage&) = delete;

    bool ok() const { return context_ != nullptr; }
    const std::string& Error() const { return error_; }
    HeadlessGLContext& Context() { return *context_; }
    COGLScene& Scene() { return *scene_; }

    // The editor's box (one unit, standing on the floor at the origin).
    COGLObject& AddBox();
    // A plane of one tile lying on the floor at the origin, facing up.
    COGLObject& AddFloorTile();

private:
    std::string error_;
    std::unique_ptr<HeadlessGLContext> context_;
    std::unique_ptr<ActiveGLContextScope> active_;
    std::unique_ptr<COGLScene> scene_;
};

// A working object file: one of the sample game's objects (by file name,
// e.g. "chair.iff") cloned, as the editor makes it, and opened.
class WorkingFile {
public:
    explicit WorkingFile(const std::string& sampleFile);
    ~WorkingFile();

    CObjectFile& File() { return *file_; }
    const CObjectEntry& Object() { return *file_->ListedObjects().front(); }
    const std::string& Path() const { return path_; }
    // Opens the file again (after a bake has replaced it).
    void Reopen();
    std::vector<uint8_t> Bytes() const { return ReadBytes(path_); }

    // The working object's picture as the preview composes it.
    ObjectPreview Compose(int imageIndex, Rgb background = kPreviewBackground);

    BakeRequest Request(BakeStage& stage);

private:
    TempDir folder_;
    std::string path_;
    std::unique_ptr<CObjectFile> file_;
};

// The sample game, written once per test process.
const std::string& SampleGameFolder();

// Saves a picture under $ZELVANE_BAKE_PICTURES (when set) for people to
// look at; does nothing otherwise.
void SavePicture(const std::string& name, const PlainImage& colour, const PlainImage* mask = nullptr);
void SavePicture(const std::string& name, const BakedImage& image);

// Reports into a recorder for its scope.
class RecordedReports {
public:
    RecordedReports() { SetReporter(&recorder_); }
    ~RecordedReports() { SetReporter(nullptr); }
    RecordedReports(const RecordedReports&) = delete;
    RecordedReports& operator=(const RecordedReports&) = delete;
    RecordingReporter& Recorder() { return recorder_; }

private:
    RecordingReporter recorder_;
};

} // namespace zelvane::test
