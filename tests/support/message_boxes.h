#pragma once

// Message boxes that a test expects: each prompt is recorded and answered
// with OK while the object lives (an unexpected box fails the test again
// afterwards).

#include <string>
#include <vector>

class MessageBoxes {
public:
    MessageBoxes();
    ~MessageBoxes();
    MessageBoxes(const MessageBoxes&) = delete;
    MessageBoxes& operator=(const MessageBoxes&) = delete;

    // The prompts shown so far, oldest first; Take also forgets them.
    const std::vector<std::string>& Seen() const { return seen_; }
    std::vector<std::string> Take();

private:
    std::vector<std::string> seen_;
};
