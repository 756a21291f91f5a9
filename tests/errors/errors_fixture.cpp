#include "errors_fixture.h"

#include <deque>
#include <memory>

#include "core/files.h"

namespace vestral::test {

std::string ErrorsTest::logText() const {
    auto p = errors::find_log(dir());
    if (!p) return {};
    return core::read_file(*p).value_or("");
}

void ErrorsTest::script(std::vector<errors::Choice> choices) {
    auto queue = std::make_shared<std::deque<errors::Choice>>(choices.begin(), choices.end());
    errors::set_dialog_script([this, queue](const errors::DialogInfo& info) {
        shown_.push_back(info);
        if (queue->empty()) {
            ADD_FAILURE() << "an unexpected fault dialog";
            return errors::Choice::Ende;
        }
        auto c = queue->front();
        queue->pop_front();
        return c;
    });
}

std::vector<std::string> crlf_lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text does not end with CR LF";
            break;
        }
        std::string l = text.substr(start, end - start);
        EXPECT_EQ(l.find('\n'), std::string::npos) << "a lone line feed in: " << l;
        EXPECT_EQ(l.find('\r'), std::string::npos) << "a lone carriage return in: " << l;
        out.push_back(l);
        start = end + 2;
    }
    return out;
}

}  // namespace vestral::test
