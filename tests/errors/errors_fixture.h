// A fresh program directory with the fault handler installed, a fixed picture of the system, and
// the program's end recorded instead of taken.
#pragma once

#include <QString>
#include <vector>

#include "core/dbf.h"
#include "core/fault.h"
#include "errors/error_log.h"
#include "errors/errorsys.h"
#include "support/gui_fixture.h"

namespace vestral::test {

inline errors::SystemInfo fixed_system_info() {
    errors::SystemInfo s;
    s.title = core::settings().title();
    s.program_path = "/opt/vestralon/vestralon";
    s.program_size = 1234567;
    s.open_max = 1024;
    s.day = 24;
    s.month = 12;
    s.year = 2023;
    s.hour = 13;
    s.minute = 5;
    s.second = 9;
    s.toolkit = "Qt 6 Widgets";
    s.cpu = "x86_64";
    s.mem_kb = 8192000;
    s.free_resources = "42";
    s.os_major = 12;
    s.os_minor = 0;
    s.kernel_major = 6;
    s.kernel_minor = 1;
    s.nt_family = true;
    s.applications = {"vestralon"};
    s.drivers = {"DBFNTX"};
    s.memory_lines = {"      Programmgroesse (VmSize): 1000 Bytes"};
    return s;
}

class ErrorsTest : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        errors::set_system_info_source(fixed_system_info);
        errors::set_exit_function([this](int code) { exits_.push_back(code); });
        errors::set_main_loop_running(true);
        core::set_fault_handler(errors::errordialog);
        core::dbf::net_error_flag() = false;
    }
    void TearDown() override {
        core::dbf::close_all_tables();
        core::set_fault_handler({});
        errors::set_dialog_script({});
        errors::set_exit_function({});
        errors::set_system_info_source({});
        errors::set_main_loop_running(false);
        GuiTest::TearDown();
    }

    bool logExists() const { return errors::find_log(dir()).has_value(); }
    std::string logText() const;
    // Answers the next dialogs with these choices and records what they showed.
    void script(std::vector<errors::Choice> choices);

    std::vector<int> exits_;
    std::vector<errors::DialogInfo> shown_;
};

// The lines of a text split at CR LF; fails the test on a lone LF.
std::vector<std::string> crlf_lines(const std::string& text);

}  // namespace vestral::test
