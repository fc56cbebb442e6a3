// A declaration's text reads as its author wrote it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "reader/ParserTestSupport.h"

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
