// The real program's window with test switches, run as a child process by
// the window tests and by `./dev screenshot`:
//   --search-host HOST   checks search there instead of the real service
//   --fake-search        answer the searches from a result-page server inside this process
//   --start              press 开始检测 as soon as the window is up
//   --close-on-input     close the window as soon as a line (or the end) arrives on standard input
//   --report             print "check finished" once a started check has ended
#include <unistd.h>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

#include "tests/support/http_test_server.h"
#include "ui/main_window.h"
#include "ui/results_grid.h"
#include "ui/ui.h"

namespace {

using quenvar::testing::HttpTestReply;
using quenvar::testing::HttpTestRequest;
using quenvar::testing::HttpTestServer;

// Pages that hold each segment's opening characters a varying number of times.
std::unique_ptr<HttpTestServer> fake_search_service() {
    return std::make_unique<HttpTestServer>([](const HttpTestRequest& request) -> HttpTestReply {
        // The probe as the check derives it from the segment, with the default settings.
        const std::string opening = quenvar::txt_to_utf8(
            quenvar::segment_probe(quenvar::Text(request.query_value("wd")), 12, 36));
        const int times[] = {2, 9, 0, 14, 4, 7, 1};
        std::string body = "<html><head><title>百度搜索</title></head><body>";
        for (int i = 0; i < times[request.target.size() % 7]; ++i)
            body += "<div><em>" + opening + "</em></div>";
        return quenvar::testing::http_response(200, body + "</body></html>");
    });
}

}  // namespace

int main(int argc, char** argv) {
    quenvar::WindowOptions options;
    bool start = false, close_on_input = false, report = false;
    std::unique_ptr<HttpTestServer> fake;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--search-host") == 0 && i + 1 < argc) {
            options.check.search_host = argv[++i];
        } else if (std::strcmp(argv[i], "--fake-search") == 0) {
            fake = fake_search_service();
            options.check.search_host = fake->host();
        } else if (std::strcmp(argv[i], "--start") == 0) {
            start = true;
        } else if (std::strcmp(argv[i], "--close-on-input") == 0) {
            close_on_input = true;
        } else if (std::strcmp(argv[i], "--report") == 0) {
            report = true;
        }
    }
    options.open_url = [](const QUrl&) {};
    const int status =
        quenvar::program_start(argc, argv, options, [&](quenvar::MainWindow& window) {
            if (close_on_input) {
                auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
                QObject::connect(input, &QSocketNotifier::activated, &window, [&window, input] {
                    input->setEnabled(false);
                    window.close();
                });
            }
            if (!start) return;
            window.按钮_检测->click();
            if (!report) return;
            auto* watch = new QTimer(&window);
            QObject::connect(watch, &QTimer::timeout, &window, [&window, watch] {
                if (!window.按钮_检测->isEnabled()) return;
                watch->stop();
                std::printf("check finished\n");
                std::fflush(stdout);
            });
            watch->start(20);
        });
    quenvar::program_exit(status);
}
