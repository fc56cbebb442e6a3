#include "modules/standard/PageClassListing.h"

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "model/CppClass.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/standard/PageClassTree.h"
#include "modules/standard/StatusReceiver.h"

#include <algorithm>
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
// of the pass (one check per pass, not one per page).
class PageWriter {
public:
    PageWriter(const DocClassList& list, const ClassListingPass& pass) : list(list), pass(pass) {}

    void write(const CppClass& cls) {
        if (!directoryMade) {
            VelkDirectory(pass.pageContext.outputDirectory, true);
            directoryMade = true;
        }
        // One page that cannot be written (a name the file system refuses)
        // is reported; the rest of the site is still written.
        try {
            writeClassPage(cls, pass.pageContext, list.directSubclasses(cls),
                           list.nestedClasses(cls));
        } catch (const VelkError& e) {
            if (!pass.receiver) throw;
            pass.receiver->error(e.getMessage());
        }
    }

private:
    const DocClassList& list;
    const ClassListingPass& pass;
    bool directoryMade = false;
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
    PageWriter pages(list, pass);
    for (const CppClass* cls : list.sortedClasses(pass.projectName)) {
        if (isTopLevel(list, *cls))
            expandItemTemplate(out, *cls, pass.entryTemplate, pass.templateContext);
        if (!pass.writePages) continue;
        if (!progress.report(*cls)) return false;
        pages.write(*cls);
    }
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
    PageWriter pages(list, pass);

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
        if (root && !listed.count(cls) && !walkFrom(*cls)) return false;
    }
    // What only a cycle reaches is listed from its first class.
    for (const CppClass* cls : classes)
        if (!listed.count(cls) && !walkFrom(*cls)) return false;
    return true;
}
