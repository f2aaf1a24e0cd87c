// The command-line encoder as a program beside another one: answers come as soon as the lines
// that were sent are done, and messages never carry raw control bytes.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <string>

#include "encoder_run.h"

namespace {

// Reads from `fd` until `want` bytes came or nothing came for a long while (a failure).
std::string ReadAnswer(int fd, std::size_t want) {
    std::string got;
    while (got.size() < want) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20000) != 1)
            break;
        char buf[256];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

TEST(EncoderStream, AnswersEachLineWhileTheInputStaysOpen) {
    int toChild[2], fromChild[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(fromChild), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::close(toChild[1]);
        ::close(fromChild[0]);
        ::execl(SW_ENCODE_EXE, SW_ENCODE_EXE, "--type", "39", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    for (const char* line : {"ABC\n", "abc\n", "12345\r\n"}) {
        ASSERT_EQ(::write(toChild[1], line, std::strlen(line)),
                  static_cast<ssize_t>(std::strlen(line)));
        const std::string expected = line[0] == 'A'   ? "*ABC*\n"
                                     : line[0] == 'a' ? "\n"
                                                      : "*12345*\n";
        EXPECT_EQ(ReadAnswer(fromChild[0], expected.size()), expected) << line;
    }
    ::close(toChild[1]);
    EXPECT_EQ(ReadAnswer(fromChild[0], 1), "");  // the end of the input ends the program
    ::close(fromChild[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
}

TEST(EncoderStream, ControlBytesInMessagesAreShownAsEscapes) {
    const std::string err = sw::test::Shell("printf 'A\\r\\r\\nB\\001\\nC\\033\\n' | " SW_ENCODE_EXE
                                            " --type 39 2>&1 >/dev/null");
    EXPECT_EQ(err,
              "line 1: Error: input character \"\\r\" not legal in bar code 3 of 9\n"
              "line 2: Error: input character \"\\x01\" not legal in bar code 3 of 9\n"
              "line 3: Error: input character \"\\x1B\" not legal in bar code 3 of 9\n");
}

}  // namespace
