// One project of the site, a record that exists only while the site is
// written: its name, and its summary text as documentation.
#pragma once

#include "model/CppClassEntity.h"

#include <string>

class CppProject : public CppClassEntity {
public:
    CppProject(const std::string& name, const std::string& summaryText,
               const DocOptions& options);
    ~CppProject() override;

    // A project belongs to no class.
    CppClass* getClass() const override { return nullptr; }
    // The project name.
    std::string getPackage() const override { return name; }
    // prefix + projectDirectoryName(name) + "/project-summary.html".
    std::string getPageFile(const std::string& prefix) const override;
};
