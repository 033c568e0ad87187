// A platform service that tests stand in for (message boxes, file dialogs, the shell, printing, file
// replacement, the record files): the real one, made the first time it is needed, unless a
// replacement is installed. Each seam of the program is one instance of this.
#pragma once

template <class Service, class Real> class Replaceable {
public:
    static Service& real() {
        static Real instance;
        return instance;
    }
    // The replacement while one is installed, else the real service.
    static Service& current() { return replacement() ? *replacement() : real(); }
    // Installs a replacement (not owned); nullptr puts the real service back.
    static void replace(Service* with) { replacement() = with; }

private:
    static Service*& replacement() {
        static Service* installed = nullptr;
        return installed;
    }
};
