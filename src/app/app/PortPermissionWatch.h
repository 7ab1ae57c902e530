#pragma once

#include <QObject>

#include <functional>
#include <string>
#include <vector>

class PortAccessAdvice;

// Tells the window once every port it may use was refused, for lack of
// permission or because it does not exist, with the ones that do not. The
// advice hears of each refusal on the worker's thread; the check runs on the
// window's, through a posted event.
class PortPermissionWatch final : public QObject {
public:
    using AllRefused = std::function<void(const std::vector<std::string>& missing)>;
    PortPermissionWatch(PortAccessAdvice& advice, const std::vector<std::string>& portNames, AllRefused allRefused);
    ~PortPermissionWatch() override;
    PortPermissionWatch(const PortPermissionWatch&) = delete;
    PortPermissionWatch& operator=(const PortPermissionWatch&) = delete;

protected:
    bool event(QEvent* event) override;

private:
    PortAccessAdvice& advice_;
    std::vector<std::string> devicePaths_;
    AllRefused allRefused_;
    bool told_ = false;
};
