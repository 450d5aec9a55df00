#pragma once

#include <QPointer>
#include <QTcpSocket>
#include <vector>

namespace mts {

// What one piece of work on the event loop writes to terminals (an answer a
// database worker posted back, a timer's redraw) leaves when the work ends, in
// one write per terminal. Without it Qt would send the bytes on a later pass
// of the loop, after a poll of every terminal's socket for room to write.
//
// Batches nest; the innermost one on this thread collects. A socket written
// outside any batch is flushed by its owner (the listener, after a read) or by
// Qt when control returns to the loop.
class QtOutputBatch {
 public:
  QtOutputBatch();
  // Hands every socket written during the batch to the system.
  ~QtOutputBatch();
  QtOutputBatch(const QtOutputBatch&) = delete;
  QtOutputBatch& operator=(const QtOutputBatch&) = delete;

  // Called by a connection that queued bytes on `socket`.
  static void Note(QTcpSocket* socket);

 private:
  QtOutputBatch* outer_;
  std::vector<QPointer<QTcpSocket>> written_;
};

}  // namespace mts
