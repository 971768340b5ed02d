// Screenshots of the main window over the demo library: from the release of Print Screen to the viewer
// showing the picture, and the PNG file of that picture (its size, the encoding, the atomic write).

#include "core/data/Configs.h"
#include "core/data/FileIO.h"
#include "gui/app/MainForm.h"
#include "gui/common/Workspace.h"
#include "gui/screenshot/PngFile.h"
#include "gui/screenshot/ScrView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// The workspace on the demo library and a shown main window with a dialogue loaded, made once for all
// the screenshot benchmarks.
struct Scene {
    Scene() {
        folder = fs::temp_directory_path() / "plotwright-bench-shot";
        fs::create_directories(folder);
        const fs::path demo = PLOTWRIGHT_DEMO_DIR;
        const std::string settings = (folder / "plotwright.inf").string();
        const std::string text =
            "[configs]\r\nQuests=" + (demo / "Quests").string() + "\r\nInfos=" + (demo / "Infos").string() +
            "\r\nstringtable=" + (demo / "stringtable.ini").string() + "\r\nTmpFiles=1\r\n";
        pw::WriteFileAtomic(settings, text, nullptr);
        workspace =
            std::make_unique<pw::Workspace>(std::make_unique<pw::TConfigs>(settings), folder.string());
        window = std::make_unique<pw::TForm1>(*workspace);
        window->LoadInfo(
            (demo / "Infos/Myrtana/Ardea_City/Diego_Ardea_Greeting_info_G3_World_01.info").string());
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            throw std::runtime_error("the main window did not become active");
    }

    fs::path folder;
    std::unique_ptr<pw::Workspace> workspace;
    std::unique_ptr<pw::TForm1> window;
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

void Send(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers, quint32 scanCode) {
    QKeyEvent event(type, key, modifiers, scanCode, 0, 0);
    QCoreApplication::sendEvent(window, &event);
}

// Notes when the viewer's picture is first painted, and closes the viewer then.
class PaintWatch : public QObject {
public:
    QElapsedTimer clock;
    qint64 paintedAt = -1;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && paintedAt < 0) {
            paintedAt = clock.nsecsElapsed();
            QTimer::singleShot(0, &pw::TScrViewFrm::Shared(), &QDialog::reject);
        }
        return false;
    }
};

void BM_PrintScreenToViewerShown(benchmark::State& state) {
    Scene& scene = TheScene();
    QWindow* window = scene.window->windowHandle();
    PaintWatch watch;
    pw::TScrViewFrm::Shared().findChild<QWidget*>("ImgView")->installEventFilter(&watch);
    for (auto _ : state) {
        Send(window, QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier, 50);
        watch.paintedAt = -1;
        watch.clock.start();
        // Returns when the viewer, run modally, has been painted and closed again.
        Send(window, QEvent::KeyRelease, Qt::Key_Print, Qt::ShiftModifier, 107);
        Send(window, QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier, 50);
        if (watch.paintedAt < 0) {
            state.SkipWithError("the viewer was not painted");
            break;
        }
        state.SetIterationTime(double(watch.paintedAt) / 1e9);
    }
    const QImage picture = pw::TScrViewFrm::Shared().Picture();
    state.counters["width"] = picture.width();
    state.counters["height"] = picture.height();
}
BENCHMARK(BM_PrintScreenToViewerShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

pw::Rgb24Picture View(const QImage& picture) {
    return {picture.constBits(), picture.width(), picture.height(),
            static_cast<std::size_t>(picture.bytesPerLine())};
}

QImage WindowPicture() {
    Scene& scene = TheScene();
    return scene.window->grab().toImage().convertToFormat(QImage::Format_RGB888);
}

void BM_EncodePng(benchmark::State& state) {
    const QImage picture = WindowPicture();
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = pw::EncodePng(View(picture)).size();
    state.counters["width"] = picture.width();
    state.counters["height"] = picture.height();
    state.counters["file_KiB"] = double(bytes) / 1024;
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

void BM_WritePngFile(benchmark::State& state) {
    const QImage picture = WindowPicture();
    const std::string path = (TheScene().folder / "shot.png").string();
    for (auto _ : state)
        pw::WritePngFile(path, View(picture));
    state.counters["file_KiB"] = double(fs::file_size(path)) / 1024;
}
BENCHMARK(BM_WritePngFile)->Unit(benchmark::kMillisecond);

} // namespace
