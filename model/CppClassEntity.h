// The common base of every named model record: classes, members, projects.
#pragma once

#include "model/DocOptions.h"
#include "model/InternedText.h"

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class CppClass;

class CppClassEntity {
public:
    // Default options.
    CppClassEntity();
    explicit CppClassEntity(const DocOptions& options);
    virtual ~CppClassEntity();

    // Entities are polymorphic records owned through pointers; copies are
    // made explicitly (copyEntity, clone) so that nothing is sliced.
    CppClassEntity(const CppClassEntity&) = delete;
    CppClassEntity& operator=(const CppClassEntity&) = delete;

    // True when the entity is shown in the documentation; always for the
    // base, members apply their access word and options.
    virtual bool isPublic() const;
    // Takes the other's name, comment, file list and options.
    virtual void copyEntity(const CppClassEntity& other);
    // True when names and comments are equal byte-wise.
    virtual bool isSame(const CppClassEntity& other) const;
    // Adds each of the other's file names; takes the other's comment when
    // this one has none.
    virtual void addFileNamesOf(const CppClassEntity& other);
    // The class the entity belongs to (a class itself, a member its owner);
    // null for a member without an owner.
    virtual CppClass* getClass() const = 0;
    // The package of getClass(); "" when there is no class.
    virtual std::string getPackage() const;
    // <a href="PAGE#ANCHOR">TEXT</a> where PAGE is getPageFile(prefix) and
    // TEXT the qualified name or the name as the flag asks, wrapped in the
    // tag when one is given.
    virtual std::string getLink(const std::string& prefix, const std::string& tag,
                                const std::string& anchor, bool useQualifiedName) const;
    // The file of the page that documents the entity, after the prefix.
    virtual std::string getPageFile(const std::string& prefix) const = 0;
    virtual std::string getQualifiedName() const;
    virtual std::string getDisplayName() const;

    const std::string& getName() const { return name; }
    void setName(const std::string& text) { name = text; }
    // The documentation comment, lines joined as the parser wrote them.
    const std::string& getComment() const { return comment; }
    void setComment(const std::string& text) { comment = text; }

    // Appends a file name unless it is empty or already listed.
    void addFileName(const std::string& fileName);
    void addFileName(InternedText fileName);
    // Replaces the whole file list by the one name (none when empty).
    void setFileName(const std::string& fileName);
    // Every file name followed by "|", concatenated; "" when none.
    std::string getFileNameList() const;
    // The file names in the order first added.
    const std::vector<InternedText>& getFileNames() const { return fileNames; }

    const DocOptions& getOptions() const { return *options; }
    // "." when the entity's dot-scope option is set or its class is not C++
    // (or it has no class); "::" for C++.
    std::string getScopeSeparator() const;

protected:
    void setOptions(const DocOptions& newOptions);
    // Takes over the options of the entity given (a member its owner's):
    // the record is shared, which reads as a copy because no entity changes
    // its record in place, it only replaces it (setOptions, copyEntity).
    CppClassEntity(const CppClassEntity* optionsFrom, std::nullptr_t);

    std::string name;
    std::string comment;
    std::vector<InternedText> fileNames;
    // Mirrors fileNames (by each name's one copy) once it holds more than
    // fewFileNames names, so that adding stays cheap for entities met in
    // many files; null before.
    std::unique_ptr<std::unordered_set<const std::string*>> fileNameSet;
    static constexpr std::size_t fewFileNames = 8;
    // Never null; immutable once made, shared by the members of a class.
    std::shared_ptr<const DocOptions> options;
};
