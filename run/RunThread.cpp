#include "run/RunThread.h"

#include <exception>
#include <memory>

#include "VelkLib/VelkError.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "run/RunDocumentation.h"

namespace {

void post(platform::WindowHandle window, unsigned message) {
    platform::PostMessage(window, message, 0, 0);
}

// The site is written whether or not it can be shown, so a refused open does
// not change how the run ended; but whoever asked to see the result must
// learn why no window came, and which file to open by hand.
void openOutput(const std::string& outputFile) {
    std::string reason;
    if (platform::shell().open(outputFile, &reason)) return;
    platform::showErrorBox("Could not open \"" + outputFile + "\" (" + reason + ").", "Vantry");
}

}  // namespace

RunThread::RunThread(const RunParameters& parameters_) : parameters(parameters_) {}

RunThread::~RunThread() = default;

void RunThread::run() {
    const RunParameters& p = parameters;
    bool stopPosted = false;
    std::string failure;
    try {
        {
            auto context = std::make_unique<RunContext>();
            context->status = p.status;
            context->log = p.log;
            context->progress = p.progress;
            context->context = platform::toContext(p.window);
            context->detailDirectory = p.detailDirectory;
            context->title = p.title;
            context->company = p.company;
            context->hierarchicalIndex = p.hierarchicalIndex;
            context->additionalHead = p.additionalHead;
            context->defines = p.defines;
            context->extensions = p.extensions;
            context->languageMap = p.languageMap;

            runDocumentation(*context, p.header, p.footer, p.itemTemplate,
                             p.sourceListingDirectory, p.outputFile, p.fileList,
                             p.detailDirectoryGiven, p.lineBreaks, p.listingSettings,
                             p.commentFormat, p.module);
            post(p.window, WM_RUN_STOPPED);
            stopPosted = true;
            post(p.window, WM_RUN_SHOW_WARNINGS);
        }  // the run's model goes here
        if (p.autoView) openOutput(p.outputFile);
        if (p.autoQuit) post(p.window, WM_RUN_QUIT_REQUEST);
        return;
    } catch (const VelkError& e) {
        failure = e.getMessage();
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "An unknown error ended the run.";
    }
    if (!stopPosted) post(p.window, WM_RUN_STOPPED);
    platform::showErrorBox(failure, "");
}
