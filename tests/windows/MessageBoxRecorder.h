#pragma once

#include "platform/MessageBox.h"

#include <vector>

// While alive, message boxes are recorded instead of shown, and each is answered with IDOK.
class MessageBoxRecorder
{
  public:
    struct Box
    {
        CString text;
        unsigned type;
    };

    MessageBoxRecorder()
        : m_previous(SetMessageBoxSink(
              [this](const CString& text, unsigned type)
              {
                  m_boxes.push_back({text, type});
                  return 1;
              }))
    {
    }
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
    ~MessageBoxRecorder() { SetMessageBoxSink(std::move(m_previous)); }

    const std::vector<Box>& Boxes() const { return m_boxes; }

  private:
    std::vector<Box> m_boxes;
    MessageBoxSink m_previous;
};
