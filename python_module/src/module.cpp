// The extension module `ostrel_benchmark._ostrel_benchmark` on the
// stable ABI (limited API 3.11): multi-phase initialisation, the heap type
// `Benchmark` with `command` and the static `version`.
#include <Python.h>

#include <exception>
#include <new>
#include <string>
#include <string_view>

#include "benchmark/command.hpp"

namespace {

constexpr const char* kVersion = "0.2.0";

// ---- Benchmark -------------------------------------------------------------

PyObject* benchmark_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    if ((args != nullptr && PyTuple_Size(args) != 0) || (kwargs != nullptr && PyDict_Size(kwargs) != 0)) {
        PyErr_SetString(PyExc_TypeError, "Benchmark() takes no arguments");
        return nullptr;
    }
    auto alloc = reinterpret_cast<allocfunc>(PyType_GetSlot(type, Py_tp_alloc));
    if (alloc == nullptr) alloc = PyType_GenericAlloc;
    return alloc(type, 0);
}

void benchmark_dealloc(PyObject* self) {
    PyTypeObject* type = Py_TYPE(self);
    auto free_fn = reinterpret_cast<freefunc>(PyType_GetSlot(type, Py_tp_free));
    if (free_fn == nullptr) free_fn = PyObject_Free;
    free_fn(self);
    Py_DECREF(type);
}

// TypeError for a cmd_json that is not a str, with its note.
void raise_not_str(PyObject* value) {
    std::string text;
    if (value == Py_None) {
        text = "'None' is not an instance of 'str'";
    } else {
        PyObject* name = PyType_GetName(Py_TYPE(value));
        const char* n = name != nullptr ? PyUnicode_AsUTF8AndSize(name, nullptr) : nullptr;
        text = std::string("'") + (n != nullptr ? n : "?") + "' object is not an instance of 'str'";
        Py_XDECREF(name);
        PyErr_Clear();
    }
    PyObject* exc = PyObject_CallFunction(PyExc_TypeError, "s", text.c_str());
    if (exc == nullptr) return;
    PyObject* r = PyObject_CallMethod(exc, "add_note", "s", "while processing 'cmd_json'");
    if (r == nullptr) {
        Py_DECREF(exc);
        return;
    }
    Py_DECREF(r);
    PyErr_SetObject(PyExc_TypeError, exc);
    Py_DECREF(exc);
}

PyObject* benchmark_command(PyObject* /*self*/, PyObject* args, PyObject* kwargs) {
    static const char* kwlist[] = {"cmd_json", nullptr};
    PyObject* arg = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O:command", const_cast<char**>(kwlist), &arg)) return nullptr;
    if (!PyUnicode_Check(arg)) {
        raise_not_str(arg);
        return nullptr;
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(arg, &size);  // lone surrogates raise here
    if (data == nullptr) return nullptr;
    try {
        // The response text where the command wrote it, copied once into the str.
        auto response = ostrel::command_text(std::string_view(data, static_cast<std::size_t>(size)));
        if (!response) {
            PyErr_SetString(PyExc_ValueError, response.error().display().c_str());
            return nullptr;
        }
        std::string_view text = response->view();
        return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    } catch (const std::exception& e) {
        PyErr_SetString(PyExc_RuntimeError, e.what());
        return nullptr;
    }
}

PyObject* benchmark_version(PyObject* /*self*/, PyObject* /*unused*/) { return PyUnicode_FromString(kVersion); }

PyMethodDef benchmark_methods[] = {
    {"command", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(benchmark_command)),
     METH_VARARGS | METH_KEYWORDS,
     "command($self, cmd_json)\n--\n\nApply a command JSON and return the resulting response JSON."},
    {"version", benchmark_version, METH_NOARGS | METH_STATIC, "version()\n--\n\nThe library version."},
    {nullptr, nullptr, 0, nullptr},
};

PyType_Slot benchmark_slots[] = {
    {Py_tp_doc, const_cast<char*>("Benchmark()\n--\n\nA benchmark runner driven by JSON commands.")},
    {Py_tp_new, reinterpret_cast<void*>(benchmark_new)},
    {Py_tp_dealloc, reinterpret_cast<void*>(benchmark_dealloc)},
    {Py_tp_methods, benchmark_methods},
    {0, nullptr},
};

PyType_Spec benchmark_spec = {
    "builtins.Benchmark",  // type name "Benchmark" in module "builtins"
    0,
    0,
    Py_TPFLAGS_DEFAULT,
    benchmark_slots,
};

// One type object per process, created on first use and kept.
PyObject* benchmark_type = nullptr;

PyObject* get_benchmark_type() {
    if (benchmark_type == nullptr) {
        benchmark_type = PyType_FromSpec(&benchmark_spec);
        if (benchmark_type == nullptr) return nullptr;
    }
    Py_INCREF(benchmark_type);
    return benchmark_type;
}

// ---- module ----------------------------------------------------------------

// Sets module.name = value (stealing value) and appends name to __all__.
int add_exported(PyObject* module, const char* name, PyObject* value) {
    if (value == nullptr) return -1;
    if (PyModule_AddObject(module, name, value) < 0) {
        Py_DECREF(value);
        return -1;
    }
    PyObject* all = PyObject_GetAttrString(module, "__all__");
    if (all == nullptr) {
        if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return -1;
        PyErr_Clear();
        all = PyList_New(0);
        if (all == nullptr) return -1;
        if (PyObject_SetAttrString(module, "__all__", all) < 0) {
            Py_DECREF(all);
            return -1;
        }
    }
    PyObject* n = PyUnicode_FromString(name);
    if (n == nullptr) {
        Py_DECREF(all);
        return -1;
    }
    PyObject* r = PyObject_CallMethod(all, "append", "O", n);
    Py_DECREF(n);
    Py_DECREF(all);
    if (r == nullptr) return -1;
    Py_DECREF(r);
    return 0;
}

int module_exec(PyObject* module) {
    if (!PyModule_Check(module)) {
        PyErr_Format(PyExc_TypeError, "'%s' object is not an instance of 'module'", "object");
        return -1;
    }
    if (add_exported(module, "__version__", PyUnicode_FromString(kVersion)) < 0) return -1;
    if (add_exported(module, "Benchmark", get_benchmark_type()) < 0) return -1;
    return 0;
}

PyModuleDef_Slot module_slots[] = {
    {Py_mod_exec, reinterpret_cast<void*>(module_exec)},
    {0, nullptr},
};

PyModuleDef module_def = {
    PyModuleDef_HEAD_INIT,
    "_ostrel_benchmark",
    "The native module (`ostrel_benchmark._ostrel_benchmark`).",
    0,
    nullptr,
    module_slots,
    nullptr,
    nullptr,
    nullptr,
};

}  // namespace

PyMODINIT_FUNC PyInit__ostrel_benchmark(void) { return PyModuleDef_Init(&module_def); }
