#include "modules/common/SourceConstants.h"

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "model/CppClass.h"

void SourceConstants::setRoots(InputRoots newRoots) {
    std::lock_guard<std::mutex> lock(mutex);
    roots = std::move(newRoots);
    bySource.clear();
}

void SourceConstants::clear() {
    std::lock_guard<std::mutex> lock(mutex);
    bySource.clear();
}

const std::string* SourceConstants::literal(const CppClass& cls, const std::string& name) const {
    const auto& files = cls.getFileNames();
    if (files.empty() || cls.getSourceDirectory().empty()) return nullptr;
    // The class was met in its first file, which lies in its source
    // directory.
    const std::string path = cls.getSourceDirectory() + "/" + fileNameOf(files.front().str());
    std::shared_ptr<const ConstantLiterals> table;
    InputRoots inside;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (roots.empty()) return nullptr;
        if (auto known = bySource.find(path); known != bySource.end()) table = known->second;
        else inside = roots;
    }
    if (!table) {
        // Read without the lock: pages of other sources need not wait. Two
        // pages asking at once read it twice; the first table stays.
        auto read = std::make_shared<ConstantLiterals>();
        try {
            std::string text = readWholeFile(path, kSourceFileLimit, &inside);
            decodeByteOrderMark(text);
            *read = initialisingLiterals(text);
        } catch (const VelkError&) {
            // a source gone or changed since it was read tells nothing
        }
        std::lock_guard<std::mutex> lock(mutex);
        table = bySource.emplace(path, std::move(read)).first->second;
    }
    const auto found = table->find(name);
    return found == table->end() ? nullptr : &found->second;
}
