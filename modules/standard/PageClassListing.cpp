#include "modules/standard/PageClassListing.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkThreadPool.h"
#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageClassTree.h"
#include "modules/common/PageEscape.h"
#include "modules/standard/StatusReceiver.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <exception>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_set>
#include <vector>

namespace {

bool inProject(const CppClass& cls, const std::string& project) {
    return project.empty() || cls.getPackage() == project;
}

// Status, progress and cancel of one pass, with a counter shared by every
// class the pass handles.
class PassProgress {
public:
    PassProgress(const ClassListingPass& pass, std::size_t total, std::size_t done = 0)
        : pass(pass), total(total), done(done) {}

    // Reports the class; false when the user asked to stop.
    bool report(const CppClass& cls) {
        if (!pass.receiver) return true;
        bool counted = pass.progressTo > 0;
        if (!counted && !pass.writePages) return pass.receiver->progress(-1, -1);
        pass.receiver->message(nullptr, kindAndName(cls).c_str());
        if (!counted) return pass.receiver->progress(-1, -1);
        ++done;
        long long span = pass.progressTo - pass.progressFrom;
        int value = static_cast<int>(pass.progressFrom + span * static_cast<long long>(done) /
                                                             static_cast<long long>(total ? total : 1));
        return pass.receiver->progress(value, 200);
    }

private:
    const ClassListingPass& pass;
    std::size_t total;
    std::size_t done;
};

// Writes class pages; the detail directory is made before the first page
// of the pass (one check per pass, not one per page). With more than one
// thread the pages are written on a pool while the pass goes on listing:
// a page writer only reads the class list (its caches are filled and
// frozen first), works in a context of its own worker and collects its
// deprecated items apart; finish() takes them in page order, so the site
// is the same whatever the number of threads.
class PageWriter {
    static constexpr std::size_t kQueuedPerWorker = 64;

public:
    PageWriter(const DocClassList& list, const ClassListingPass& pass,
               const std::vector<CppClass*>& order)
        : list(list), pass(pass) {
        if (!pass.writePages || order.size() < 2) return;
        pool = list.pagePool();
        if (!pool) return;
        frozen.emplace(list, order);
        const unsigned threads = pool->size();
        // The head of a page is rendered through the module's buffers.
        auto head = pass.pageContext.pageHead;
        auto headLock = std::make_shared<std::mutex>();
        for (unsigned i = 0; i < threads; ++i) {
            ClassPageContext context = pass.pageContext;
            context.memo = std::make_shared<ClassPageContext::PassMemo>();
            context.pageHead = [head, headLock](const std::string& title) {
                std::lock_guard<std::mutex> lock(*headLock);
                return head(title);
            };
            contexts.push_back(std::move(context));
        }
    }

    ~PageWriter() {
        // Left by an error of the pass itself: the pages queued still end
        // before the list they read goes away.
        for (auto& page : pending) page->done.wait();
    }

    void write(const CppClass& cls) {
        if (!directoryMade) {
            makeSiteDirectory(pass.pageContext.outputDirectory, pass.pageContext.staged);
            directoryMade = true;
        }
        if (!pool) {
            try {
                if (writeClassPage(cls, pass.pageContext, list.directSubclasses(cls),
                                   list.nestedClasses(cls)))
                    reportAncestryCut(cls);
            } catch (const VelkError& e) {
                reportOrThrow(e);
            }
            return;
        }
        // Enough pages queued that one long page does not leave the other
        // workers idle while the pass waits for it; few enough that little
        // is held.
        while (!pending.empty() &&
               (pending.size() >= kQueuedPerWorker * contexts.size() ||
                pending.front()->done.wait_for(std::chrono::seconds(0)) ==
                    std::future_status::ready))
            takeFront();
        auto page = std::make_unique<QueuedPage>();
        page->cls = &cls;
        QueuedPage* queued = page.get();
        page->done = pool->submit([this, queued](unsigned worker) {
            ClassPageContext& context = contexts[worker];
            context.deprecated = pass.pageContext.deprecated ? &queued->deprecated : nullptr;
            queued->ancestryCut = writeClassPage(*queued->cls, context, list.directSubclasses(*queued->cls),
                                                 list.nestedClasses(*queued->cls));
        }, VelkThreadPool::Start::InTurn);
        last = &cls;
        pending.push_back(std::move(page));
    }

    // Waits for the queued pages and reports, in page order, those that
    // could not be written, as writing them one by one would have; throws
    // what a page threw that cannot be reported so.
    void finish() {
        while (!pending.empty()) takeFront();
        if (last) {
            // The module's buffers hold the last page's head, as without threads.
            pass.pageContext.pageHead(escapeHtml(last->getName()));
            last = nullptr;
        }
    }

private:
    struct QueuedPage {
        const CppClass* cls = nullptr;
        DeprecatedItemMap deprecated;
        std::future<void> done;
        bool ancestryCut = false;
    };

    // A page that draws only part of its class's ancestry says so.
    void reportAncestryCut(const CppClass& cls) {
        if (!pass.receiver) return;
        pass.receiver->error("The page of " + cls.getKind() + " " + cls.getName() + " shows only its nearest " +
                             std::to_string(maxAncestorsShown) + " ancestors.");
    }

    // One page that cannot be written (a name the file system refuses) is
    // reported; the rest of the site is still written.
    void reportOrThrow(const VelkError& e) {
        if (!pass.receiver) throw;
        pass.receiver->error(e.getMessage());
    }

    void takeFront() {
        std::unique_ptr<QueuedPage> page = std::move(pending.front());
        pending.pop_front();
        if (!failure) {
            try {
                page->done.get();
                if (page->ancestryCut) reportAncestryCut(*page->cls);
            } catch (const VelkError& e) {
                if (pass.receiver) pass.receiver->error(e.getMessage());
                else failure = std::current_exception();
            } catch (...) {
                failure = std::current_exception();
            }
        } else {
            page->done.wait();
        }
        if (failure) {
            // The pages after a failed one are not part of the result.
            for (auto& later : pending) later->done.wait();
            pending.clear();
            last = nullptr;
            std::rethrow_exception(failure);
        }
        if (pass.pageContext.deprecated)
            for (auto& [key, entity] : page->deprecated) (*pass.pageContext.deprecated)[key] = entity;
    }

    const DocClassList& list;
    const ClassListingPass& pass;
    bool directoryMade = false;
    VelkThreadPool* pool = nullptr;  // the list's; every page queued on it is waited for here
    // The list's caches, frozen while pages are written on the pool.
    std::optional<DocClassList::FrozenCaches> frozen;
    std::vector<ClassPageContext> contexts;  // one per worker
    std::deque<std::unique_ptr<QueuedPage>> pending;
    const CppClass* last = nullptr;
    std::exception_ptr failure;
};

// Whether a class is listed at the top: declared outside any class, that
// is at file level or directly in a namespace (a C++ class in a namespace
// is no nested class).
bool isTopLevel(const DocClassList& list, const CppClass& cls) {
    if (cls.getDetailText().empty()) return true;
    const CppClass* scope = list.resolveQualifiedName(cls.getDetailText(), cls.getPackage(), false);
    return scope && scope->getKind() == "namespace";
}

// A tree lists no namespaces: they derive from nothing.
bool hasTreeEntry(const DocClassList& list, const CppClass& cls) {
    return !cls.isNamespace() && isTopLevel(list, cls);
}

}  // namespace

bool writeClassPages(std::ostream& out, const DocClassList& list, const ClassListingPass& pass) {
    // The progress counts against every class of the list, whichever
    // project the pass lists.
    PassProgress progress(pass, list.size());
    const std::vector<CppClass*>& classes = list.sortedClasses(pass.projectName);
    PageWriter pages(list, pass, classes);
    for (const CppClass* cls : classes) {
        if (isTopLevel(list, *cls))
            expandItemTemplate(out, *cls, pass.entryTemplate, pass.templateContext);
        if (!pass.writePages) continue;
        if (!progress.report(*cls)) {
            pages.finish();
            return false;
        }
        pages.write(*cls);
    }
    pages.finish();
    return true;
}

bool hasSubclasses(const DocClassList& list, const CppClass& cls, const std::string& projectName) {
    for (const CppClass* sub : list.directSubclasses(cls))
        if (inProject(*sub, projectName)) return true;
    return false;
}

bool writeClassTreeListing(std::ostream& out, const DocClassList& list,
                           const ClassListingPass& pass, bool secondPass, bool& needSecondPass) {
    std::vector<CppClass*> classes;
    std::size_t all = 0;
    std::size_t nonInterfaces = 0;
    for (CppClass* cls : list.sortedClasses(pass.projectName)) {
        if (cls->isUnresolved()) continue;
        ++all;
        if (cls->isInterface()) needSecondPass = true;
        else ++nonInterfaces;
        if (cls->isInterface() == secondPass) classes.push_back(cls);
    }
    const std::unordered_set<const CppClass*> members(classes.begin(), classes.end());
    std::unordered_set<const CppClass*> listed;
    // Both passes share one progress range: the interfaces of the second
    // pass go on from where the classes of the first ended.
    PassProgress progress(pass, all, secondPass ? nonInterfaces : 0);
    PageWriter pages(list, pass, classes);

    // Children of a class in this pass: its direct subclasses of the pass,
    // each only while not yet listed.
    auto childrenOf = [&](const CppClass& cls) {
        std::vector<const CppClass*> children;
        for (const CppClass* sub : list.directSubclasses(cls))
            if (members.count(sub) && sub != &cls) children.push_back(sub);
        return children;
    };
    // Lists a class; false on cancel. entryWritten tells whether its
    // subclasses nest below it. A class met again (under another of its
    // bases) gets its entry again, but neither its page nor progress.
    auto handle = [&](const CppClass& cls, std::size_t depth, bool& entryWritten) {
        const bool first = listed.insert(&cls).second;
        if (first && !progress.report(cls)) return false;
        entryWritten = hasTreeEntry(list, cls);
        if (entryWritten) {
            std::size_t times =
                pass.indentPerLevel ? std::min<std::size_t>(depth, maxTreeIndentLevels) : 1;
            for (std::size_t i = 0; i < times; ++i) out << pass.indent;
            if (pass.kindLabels) out << cls.getKind() << " ";
            expandItemTemplate(out, cls, pass.entryTemplate, pass.templateContext);
        }
        if (first && pass.writePages) pages.write(cls);
        return true;
    };

    struct Frame {
        const CppClass* parent;
        std::vector<const CppClass*> children;
        std::size_t next = 0;
        bool opened = false;
    };
    // A class with several bases is listed under each of them; one with a
    // single base once. No class is listed inside itself (a cycle).
    auto mayList = [&](const CppClass* child, const std::vector<Frame>& stack) {
        if (!listed.count(child)) return true;
        if (child->getBases().size() < 2) return false;
        for (const Frame& frame : stack)
            if (frame.parent == child) return false;
        return true;
    };
    auto walkFrom = [&](const CppClass& root) {
        bool entry = false;
        if (!handle(root, 0, entry)) return false;
        std::vector<Frame> stack;
        if (entry) stack.push_back(Frame{&root, childrenOf(root)});
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next == frame.children.size()) {
                if (frame.opened && !pass.wrapTag.empty()) out << "</" << pass.wrapTag << ">\n";
                stack.pop_back();
                continue;
            }
            const CppClass* child = frame.children[frame.next++];
            if (!mayList(child, stack)) continue;
            if (!frame.opened && !pass.wrapTag.empty()) out << "<" << pass.wrapTag << ">\n";
            frame.opened = true;
            std::size_t depth = stack.size();
            if (!handle(*child, depth, entry)) return false;
            if (entry) stack.push_back(Frame{child, childrenOf(*child)});
        }
        return true;
    };

    // Roots: no base of this pass that is a documented class of the list.
    for (const CppClass* cls : classes) {
        bool root = true;
        for (const CppClass* base : list.resolvedBases(*cls))
            if (base != cls && !base->isUnresolved() && base->isInterface() == secondPass &&
                members.count(base))
                root = false;
        if (root && !listed.count(cls) && !walkFrom(*cls)) {
            pages.finish();
            return false;
        }
    }
    // What only a cycle reaches is listed from its first class.
    for (const CppClass* cls : classes)
        if (!listed.count(cls) && !walkFrom(*cls)) {
            pages.finish();
            return false;
        }
    pages.finish();
    return true;
}
