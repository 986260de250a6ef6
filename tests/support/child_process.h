// Runs a program as a child process and collects what it printed.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quenvar::testing {

struct ChildResult {
    int status = -1;  // the exit status, or -1 when it did not exit normally
    std::string out, err;
};

inline std::string read_whole_file(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs `program` with `args`, feeding it `input` on standard input.
inline ChildResult run_child(const std::string& program, const std::vector<std::string>& args,
                             const std::string& input = "") {
    char in_path[] = "/tmp/child-in-XXXXXX", out_path[] = "/tmp/child-out-XXXXXX",
         err_path[] = "/tmp/child-err-XXXXXX";
    const int in = mkstemp(in_path), out = mkstemp(out_path), err = mkstemp(err_path);
    if (write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) return {};
    lseek(in, 0, SEEK_SET);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int wait_status = 0;
    waitpid(pid, &wait_status, 0);
    ChildResult result;
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
    result.out = read_whole_file(out_path);
    result.err = read_whole_file(err_path);
    for (const int fd : {in, out, err}) close(fd);
    for (const char* path : {in_path, out_path, err_path}) unlink(path);
    return result;
}

}  // namespace quenvar::testing
