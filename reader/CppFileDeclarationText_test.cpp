// A declaration's text reads as its author wrote it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "reader/ParserTestSupport.h"

TEST(CppFileDeclarationTextTest, AGlobalScopeBaseAfterAnAccessWordIsNamedWithoutIt) {
    ParsedSource p;
    p.parse("streams.h",
            "namespace io { class Sink {}; }\n"
            "class Base {};\n"
            "class Buffer : public ::io::Sink {};\n"
            "struct Shared : protected virtual ::Base, private ::io::Sink {};\n"
            "struct Plain : virtual public ::Base {};\n");
    auto names = [&](const char* cls) {
        std::vector<std::string> out;
        for (const auto& [name, base] : p.cls("proj", cls)->getBases()) out.push_back(name);
        return out;
    };
    EXPECT_EQ(names("Buffer"), (std::vector<std::string>{"::io::Sink"}));
    EXPECT_EQ(names("Shared"), (std::vector<std::string>{"::Base", "::io::Sink"}));
    EXPECT_EQ(names("Plain"), (std::vector<std::string>{"::Base"}));
}

TEST(CppFileDeclarationTextTest, AGlobalScopeNameKeepsTheBlankBeforeIt) {
    ParsedSource p;
    p.parse("buffer.h",
            "class Buffer : public ::io::Sink {\n"
            "public:\n"
            "    using ::io::Sink::flush;\n"
            "    inline ::std::size_t size() const;\n"
            "    static const ::std::string& name();\n"
            "    virtual ::io::Result write(const ::io::Chunk& chunk) = 0;\n"
            "    std::size_t used;\n"
            "};\n");
    EXPECT_EQ(p.memberTexts(p.cls("proj", "Buffer")),
              (std::vector<std::string>{"flush: using ::io::Sink::flush;",
                                        "size: inline ::std::size_t size() const;",
                                        "name: static const ::std::string& name();",
                                        "write: virtual ::io::Result write(const ::io::Chunk& chunk) = 0;",
                                        "used: std::size_t used;"}));
}
