#include "../../logic/self_delete_batch.h"
#include "../check.h"

TEST(files_beside_the_executable_keep_the_folder)
{
    CHECK_EQ(SelfDeleteBatchText("C:\\ProgramData\\8266\\RudiDuzuv\\Pelux.exe",
                                 "C:\\Temp\\DelA1.tmp.bat", 2),
             std::string("cd\\\r\n:delexe\r\nping -n 1 127.0.0.1\r\n"
                         "del \"C:\\ProgramData\\8266\\RudiDuzuv\\Pelux.exe\"\r\n"
                         "if exist \"C:\\ProgramData\\8266\\RudiDuzuv\\Pelux.exe\" goto :delexe\r\n"
                         "del \"C:\\Temp\\DelA1.tmp.bat\"\r\n"));
}

TEST(an_executable_alone_takes_its_folder_with_it)
{
    const std::string expected =
        "cd\\\r\n:delexe\r\nping -n 1 127.0.0.1\r\n"
        "del \"D:\\Games\\Pelux.exe\"\r\n"
        "if exist \"D:\\Games\\Pelux.exe\" goto :delexe\r\n"
        "del \"D:\\Games\" /Q /F /A\r\n"
        "rd \"D:\\Games\"\r\n"
        "del \"C:\\Temp\\DelB2.tmp.bat\"\r\n";
    for (int files : {1, 0, -1})
        CHECK_EQ_AT(files, SelfDeleteBatchText("D:\\Games\\Pelux.exe", "C:\\Temp\\DelB2.tmp.bat", files),
                    expected);
}

TEST(folder_is_everything_before_the_last_backslash)
{
    CHECK_EQ(FolderOfPath("C:\\a\\b\\c.exe"), std::string("C:\\a\\b"));
    CHECK_EQ(FolderOfPath("c.exe"), std::string("c.exe"));
    CHECK_EQ(FolderOfPath("C:\\c.exe"), std::string("C:"));
}

TEST(a_text_that_does_not_fit_is_not_written_cut_short)
{
    const std::string exe = "C:\\" + std::string(500, 'x') + "\\Pelux.exe";
    CHECK_EQ(SelfDeleteBatchText(exe, "C:\\Temp\\b.bat", 1), std::string());
    // The same path fits the shorter form, which names it fewer times.
    const std::string text = SelfDeleteBatchText(exe, "C:\\Temp\\b.bat", 2);
    CHECK(!text.empty());
    CHECK(text.size() <= kMaxBatchBytes);
}

CHECK_MAIN()
