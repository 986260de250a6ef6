// The real program's window with test switches, run as a child process by
// the window tests and by `./dev screenshot`:
//   --search-host HOST   checks search there instead of the real service
//   --fake-search        answer the searches from a result-page server inside this process
//   --start              press 开始检测 as soon as the window is up
//   --close-when-busy    close the window while the first segment's search is under way
//   --report             print "check finished" once a started check has ended
#include <QPushButton>
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
    bool start = false, close_when_busy = false, report = false;
    std::unique_ptr<HttpTestServer> fake;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--search-host") == 0 && i + 1 < argc) {
            options.check.search_host = argv[++i];
        } else if (std::strcmp(argv[i], "--fake-search") == 0) {
            fake = fake_search_service();
            options.check.search_host = fake->host();
        } else if (std::strcmp(argv[i], "--start") == 0) {
            start = true;
        } else if (std::strcmp(argv[i], "--close-when-busy") == 0) {
            close_when_busy = true;
        } else if (std::strcmp(argv[i], "--report") == 0) {
            report = true;
        }
    }
    options.open_url = [](const QUrl&) {};
    const int status =
        quenvar::program_start(argc, argv, options, [&](quenvar::MainWindow& window) {
            if (!start) return;
            window.按钮_检测->click();
            auto* watch = new QTimer(&window);
            QObject::connect(watch, &QTimer::timeout, &window,
                             [&window, watch, close_when_busy, report] {
                                 if (close_when_busy && window.高级表格_原创度->row_count() >= 2) {
                                     watch->stop();
                                     window.close();
                                 } else if (report && window.按钮_检测->isEnabled()) {
                                     watch->stop();
                                     std::printf("check finished\n");
                                     std::fflush(stdout);
                                 }
                             });
            watch->start(20);
        });
    quenvar::program_exit(status);
}
